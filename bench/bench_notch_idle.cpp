// The running notch on a private X server: idle CPU and resident memory beside
// a bare Qt Quick window of the same size started the same way (and, for the
// CPU, beside the bare 50 ms poll: one look at the pointer every 50 ms, paced
// as the notch paces it, which is what the design costs at least), and the hover
// latency (the pointer enters the hot zone until the published hover state
// changes), once with a stream of motion events and once with a pointer that
// jumps without any (so that only the 50 ms poll can notice).
//
// Usage: bench_notch_idle [idle seconds, default 60] [hover samples, default 40]
#include "E2eDesktop.h"

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

private slots:
    void changed(const QString &, const QVariantMap &values, const QStringList &)
    {
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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int idleSeconds = argc > 1 ? QByteArray(argv[1]).toInt() : 60;
    const int samples = argc > 2 ? QByteArray(argv[2]).toInt() : 40;

    E2eDesktop desktop({QSize(1920, 1080), false, QStringLiteral(TALVO_E2E_WINDOW)});
    if (!desktop.start()) {
        std::fprintf(stderr, "cannot start the desktop: %s\n", qPrintable(desktop.error()));
        return 1;
    }
    desktop.movePointer(kAway);
    // A returning user's Talvo: the first-run window would otherwise be open.
    QProcess *prefs = desktop.startProgram(
        QStringLiteral(TALVO_BINARY), {QStringLiteral("prefs"), QStringLiteral("set"),
                                       QStringLiteral("hasCompletedOnboarding"), QStringLiteral("true")});
    if (!prefs->waitForFinished(10000) || prefs->exitCode() != 0) {
        std::fprintf(stderr, "cannot set the preferences\n");
        return 1;
    }
    QProcess *talvo = desktop.startProgram(QStringLiteral(TALVO_BINARY), {});
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
    return 0;
}

#include "bench_notch_idle.moc"
