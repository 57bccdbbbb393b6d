// The running notch on a private X server, drawn by the OpenGL scene
// graph as users get it (Mesa's software rasteriser where there is no GPU):
// idle CPU and resident memory beside a bare Qt Quick window of the same size
// started the same way (and, for the CPU, beside the bare 50 ms poll: one look
// at the pointer every 50 ms, paced as the notch paces it, which is what the
// design costs at least), and the hover latency (the pointer enters the hot zone
// until the published hover state changes), once with a stream of motion events
// and once with a pointer that jumps without any (so that only the 50 ms poll
// can notice). Then the open panel: from the click until the first frame drawn
// with the panel in it, the frame times while the opening spring runs, and the
// CPU use from one second after the collapse, against the idle figure.
//
// Frames are those Qt's render loop reports on standard error when its timing
// category is on; the intervals are its own, in whole milliseconds.
//
// Usage: bench_notch_idle [idle seconds, default 60] [hover samples, default 40]
//                         [panel openings, default 20]
#include "BenchDesktop.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>


using talvo::e2e::E2eDesktop;

namespace {

const QPoint kAway(960, 700);
const QPoint kHotZone(960, 10);

// Resident memory in KiB.
qint64 residentKiB(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/status").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

// Waits for the next announcement of isHovering.
class HoverWatch : public QObject
{
    Q_OBJECT
public:
    explicit HoverWatch(QDBusConnection bus)
    {
        bus.connect(QStringLiteral("com.talvo.Talvo"), QStringLiteral("/com/talvo/Talvo"),
                    QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"), this,
                    SLOT(changed(QString, QVariantMap, QStringList)));
    }
    // Milliseconds from `since` until isHovering becomes `value`; -1 on timeout.
    // `poke` runs every 8 ms meanwhile.
    double waitFor(bool value, const QElapsedTimer &since, const std::function<void()> &poke = {})
    {
        m_target = value;
        m_arrivedAt = -1;
        QTimer pokes;
        if (poke) {
            QObject::connect(&pokes, &QTimer::timeout, poke);
            pokes.start(8);
        }
        QEventLoop loop;
        m_loop = &loop;
        m_since = &since;
        QTimer::singleShot(3000, &loop, &QEventLoop::quit);
        if (m_arrivedAt < 0)
            loop.exec();
        m_loop = nullptr;
        return m_arrivedAt < 0 ? -1 : double(m_arrivedAt) / 1e6;
    }

    // Called with every announcement.
    std::function<void(const QVariantMap &)> onChange;

private slots:
    void changed(const QString &, const QVariantMap &values, const QStringList &)
    {
        if (onChange)
            onChange(values);
        const auto hovering = values.constFind(QStringLiteral("isHovering"));
        if (hovering == values.cend() || hovering->toBool() != m_target || !m_loop)
            return;
        m_arrivedAt = m_since->nsecsElapsed();
        m_loop->quit();
    }

private:
    bool m_target = true;
    qint64 m_arrivedAt = -1;
    QEventLoop *m_loop = nullptr;
    const QElapsedTimer *m_since = nullptr;
};

double percentile(QList<double> values, double p)
{
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    return values.at(qMin(values.size() - 1, qsizetype(p * double(values.size() - 1) + 0.5)));
}

// One hover sample: park the pointer, then enter the hot zone.
double hoverSample(E2eDesktop &desktop, HoverWatch &watch, bool withMotion)
{
    QElapsedTimer clock;
    clock.start();
    desktop.movePointer(kAway);
    watch.waitFor(false, clock);
    // A random phase against the poll.
    QThread::msleep(20 + QRandomGenerator::global()->bounded(60));
    QCoreApplication::processEvents();
    if (withMotion) {
        // Approach in motion events 8 ms apart, as a mouse reports them, and
        // keep moving inside.
        for (int y = 60; y > 30; y -= 6) {
            desktop.movePointer(QPoint(960, y));
            QThread::msleep(8);
        }
        clock.restart();
        desktop.movePointer(kHotZone);
        int x = 0;
        return watch.waitFor(true, clock, [&] { desktop.movePointer(kHotZone + QPoint(++x % 5, 0)); });
    }
    clock.restart();
    desktop.warpPointer(kHotZone);
    return watch.waitFor(true, clock);
}

// The frames Talvo's render loop reports on its standard error.
class FrameLog
{
public:
    struct Frame
    {
        qint64 startedNs; // when the report arrived, on the benchmark's clock
        int intervalMs;   // since the frame before, as the render loop measured it
    };
    FrameLog(QProcess *process, const QElapsedTimer &clock) : m_process(process), m_clock(clock)
    {
    }

    // The frames begun since the last call.
    QList<Frame> take()
    {
        m_buffer += m_process->readAllStandardOutput();
        QList<Frame> frames;
        static const QByteArray marker = "syncAndRender: start, elapsed since last call: ";
        for (qsizetype end = m_buffer.indexOf('\n'); end >= 0; end = m_buffer.indexOf('\n')) {
            const QByteArray line = m_buffer.left(end);
            m_buffer.remove(0, end + 1);
            if (const qsizetype at = line.indexOf(marker); at >= 0)
                frames.append({m_clock.nsecsElapsed(), line.mid(at + marker.size()).split(' ').value(0).toInt()});
        }
        return frames;
    }
    // The frames begun within the next `ms` milliseconds.
    QList<Frame> collect(int ms)
    {
        QList<Frame> frames;
        QElapsedTimer wait;
        wait.start();
        while (wait.elapsed() < ms) {
            m_process->waitForReadyRead(1);
            QCoreApplication::processEvents();
            frames += take();
        }
        return frames;
    }

private:
    QProcess *m_process;
    const QElapsedTimer &m_clock;
    QByteArray m_buffer;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int idleSeconds = argc > 1 ? QByteArray(argv[1]).toInt() : 60;
    const int samples = argc > 2 ? QByteArray(argv[2]).toInt() : 40;
    const int openings = argc > 3 ? QByteArray(argv[3]).toInt() : 20;
    // Qt's render loop reports its frames (only Talvo's standard error is read).
    qputenv("QT_LOGGING_RULES", "qt.scenegraph.time.renderloop.debug=true");

    const auto started = talvo::e2e::startBenchDesktop(false, kAway);
    if (!started)
        return 1;
    E2eDesktop &desktop = *started;
    QProcess *talvo = desktop.startProgram(QStringLiteral(TALVO_BINARY), {}, QProcess::MergedChannels);
    QProcess *bare = desktop.startProgram(QStringLiteral(TALVO_BARE_WINDOW), {});
    QProcess *floor = desktop.startProgram(QStringLiteral(TALVO_POLL_FLOOR), {});
    QElapsedTimer wait;
    wait.start();
    while (!desktop.notchRect().isValid() && wait.elapsed() < 15000)
        QThread::msleep(50);
    if (!desktop.notchRect().isValid() || !E2eDesktop::waitForLine(bare, QStringLiteral("ready"))
        || !E2eDesktop::waitForLine(floor, QStringLiteral("ready"))) {
        std::fprintf(stderr, "the programs did not come up\n");
        return 1;
    }
    QThread::sleep(2); // let start-up work settle

    std::printf("idle for %d s, the pointer still...\n", idleSeconds);
    std::fflush(stdout);
    const double talvoStart = E2eDesktop::cpuSeconds(talvo->processId());
    const double bareStart = E2eDesktop::cpuSeconds(bare->processId());
    const double floorStart = E2eDesktop::cpuSeconds(floor->processId());
    QThread::sleep(idleSeconds);
    const double floorCpu = (E2eDesktop::cpuSeconds(floor->processId()) - floorStart) / idleSeconds * 100;
    const double talvoCpu = (E2eDesktop::cpuSeconds(talvo->processId()) - talvoStart) / idleSeconds * 100;
    const double bareCpu = (E2eDesktop::cpuSeconds(bare->processId()) - bareStart) / idleSeconds * 100;
    const qint64 talvoRss = residentKiB(talvo->processId());
    const qint64 bareRss = residentKiB(bare->processId());
    std::printf("idle CPU:        talvo %.3f %% of a core, bare window %.3f %%, ratio %.2f (target: talvo <= 0.2 %%)\n",
                talvoCpu, bareCpu, bareCpu > 0 ? talvoCpu / bareCpu : 0.0);
    std::printf("                 the bare 50 ms poll alone %.3f %%, ratio %.2f\n", floorCpu,
                floorCpu > 0 ? talvoCpu / floorCpu : 0.0);
    std::printf("resident memory: talvo %lld KiB, bare window %lld KiB, ratio %.2f (target <= 1.5)\n",
                talvoRss, bareRss, bareRss > 0 ? double(talvoRss) / double(bareRss) : 0.0);
    std::fflush(stdout);

    HoverWatch watch(desktop.bus());
    for (bool withMotion : {true, false}) {
        QList<double> latencies;
        int missed = 0;
        for (int i = 0; i < samples; ++i) {
            const double ms = hoverSample(desktop, watch, withMotion);
            if (ms < 0)
                ++missed;
            else
                latencies.append(ms);
        }
        std::printf("hover latency, %s: p50 %.1f ms, p95 %.1f ms, max %.1f ms over %lld samples%s (target p95 <= %d ms)\n",
                    withMotion ? "motion events" : "polling alone", percentile(latencies, 0.5),
                    percentile(latencies, 0.95), percentile(latencies, 1.0), qsizetype(latencies.size()),
                    missed ? qPrintable(QStringLiteral(", %1 missed").arg(missed)) : "", withMotion ? 20 : 60);
        std::fflush(stdout);
    }

    // The panel: hover until the peek has come to rest, click, and follow the
    // frames until the opening spring is over; then collapse. The panel
    // announces itself once built: the first frame begun after that shows it.
    QElapsedTimer clock;
    clock.start();
    FrameLog frames(talvo, clock);
    qint64 panelNs = -1;
    watch.onChange = [&](const QVariantMap &values) {
        if (values.value(QStringLiteral("panelPresent")).toBool())
            panelNs = clock.nsecsElapsed();
    };
    QList<double> firstFrames;
    QList<double> intervals;
    int dropped = 0;
    int failed = 0;
    constexpr double kFrameMs = 1000.0 / 60;
    for (int i = 0; i < openings; ++i) {
        desktop.movePointer(kAway);
        watch.waitFor(false, clock);
        desktop.glidePointer(kAway, kHotZone, 6, 10);
        watch.waitFor(true, clock);
        QThread::msleep(800);
        QCoreApplication::processEvents();
        frames.take();
        panelNs = -1;
        const qint64 clickedNs = clock.nsecsElapsed();
        desktop.click(kHotZone);
        const QList<FrameLog::Frame> opening = frames.collect(900);
        const auto first = std::find_if(opening.begin(), opening.end(),
                                        [&](const FrameLog::Frame &f) { return panelNs >= 0 && f.startedNs > panelNs; });
        if (first == opening.end()) {
            ++failed;
            continue;
        }
        firstFrames << double(first->startedNs - clickedNs) / 1e6;
        // The first frame's interval reaches back to the last frame of the peek.
        QList<double> gaps;
        int skipped = 0;
        for (qsizetype f = 1; f < opening.size(); ++f) {
            gaps << opening[f].intervalMs;
            if (opening[f].intervalMs > 1.5 * kFrameMs)
                skipped += int(std::lround(opening[f].intervalMs / kFrameMs)) - 1;
        }
        // The first opening of a process also waits for the rasteriser to
        // compile the panel's shaders: it is reported on its own.
        if (i == 0 && openings > 1) {
            std::printf("panel, first opening: first frame with the panel %.1f ms after the click, %lld frames, "
                        "interval p95 %.0f ms, max %.0f ms, %d dropped\n",
                        firstFrames.last(), qsizetype(gaps.size()), percentile(gaps, 0.95), percentile(gaps, 1.0),
                        skipped);
            firstFrames.clear();
            continue;
        }
        intervals += gaps;
        dropped += skipped;
    }
    std::printf("panel, over %lld later openings%s: click until the first frame with the panel p50 %.1f ms, p95 %.1f ms, "
                "max %.1f ms (target p95 <= 50)\n",
                qsizetype(firstFrames.size()), failed ? qPrintable(QStringLiteral(" (%1 did not open)").arg(failed)) : "",
                percentile(firstFrames, 0.5), percentile(firstFrames, 0.95), percentile(firstFrames, 1.0));
    std::printf("       frames of the opening spring: %lld, interval p50 %.0f ms, p95 %.0f ms, max %.0f ms, "
                "%d dropped (target p95 <= 16.7 ms, to the render loop's whole milliseconds 17; none dropped)\n",
                qsizetype(intervals.size()), percentile(intervals, 0.5), percentile(intervals, 0.95),
                percentile(intervals, 1.0), dropped);
    std::fflush(stdout);

    // After the collapse: CPU from one second on, and memory without the panel.
    desktop.movePointer(kAway);
    watch.waitFor(false, clock);
    QThread::sleep(1);
    // Two spans, to tell a slow settling from a lasting cost.
    constexpr int kSpanSeconds = 5;
    double afterCpu[2];
    for (double &cpu : afterCpu) {
        const double start = E2eDesktop::cpuSeconds(talvo->processId());
        QThread::sleep(kSpanSeconds);
        cpu = (E2eDesktop::cpuSeconds(talvo->processId()) - start) / kSpanSeconds * 100;
    }
    const qint64 afterRss = residentKiB(talvo->processId());
    std::printf("after a collapse: CPU %.3f %% of a core from 1 s to %d s after it, %.3f %% from %d s to %d s "
                "(idle figure %.3f %%); resident memory %lld KiB, %.2f times the bare window\n",
                afterCpu[0], 1 + kSpanSeconds, afterCpu[1], 1 + kSpanSeconds, 1 + 2 * kSpanSeconds, talvoCpu,
                afterRss, bareRss > 0 ? double(afterRss) / double(bareRss) : 0.0);
    std::fflush(stdout);
    return 0;
}

#include "bench_notch_idle.moc"
