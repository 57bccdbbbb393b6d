// Frame times of the notch's root view while it peeks, opens and collapses:
// the real view with its springs on an X display (run it under Xvfb: xvfb-run
// -a -s "-screen 0 1920x1080x24"), drawn as Talvo draws it: by the OpenGL scene
// graph in the threaded render loop, unless QT_QUICK_BACKEND (software: Qt
// Quick's software renderer) or QSG_RENDER_LOOP say otherwise.
// Reports, over every frame drawn while an animation runs, the median and 95th
// percentile of the time between frames, the longest gap, how many frames were
// dropped (a gap of more than 1.5 refresh intervals counts the frames it
// skipped), and how many animation ticks before the body came to rest left it
// where it was (a render loop ticking faster than the springs step shows the
// same picture twice, which reads as judder).
//
// Usage: bench_notch_frames [cycles, default 10]
#include "notch/NotchViewRig.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMutex>
#include <QScreen>
#include <QtQml/qqmlextensionplugin.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

Q_IMPORT_QML_PLUGIN(TalvoPlugin)

using namespace talvo;

namespace {

// The longest the notch's springs take to come to rest, with some margin.
constexpr int kPhaseMs = 700;

struct Phase
{
    const char *name;
    std::function<void(NotchViewModel &)> change;
};

double percentile(QList<double> values, double p)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const auto index = qsizetype(std::ceil(p * double(values.size()))) - 1;
    return values.at(std::clamp<qsizetype>(index, 0, values.size() - 1));
}

} // namespace

int main(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsSet("QSG_RENDER_LOOP"))
        qputenv("QSG_RENDER_LOOP", "threaded");
    QGuiApplication app(argc, argv);
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        std::fprintf(stderr, "note: running on \"%s\", not on an X display\n", qPrintable(QGuiApplication::platformName()));
    const int cycles = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 10;
    const double refreshHz = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->refreshRate() : 60;
    const double frameMs = 1000.0 / (refreshHz > 0 ? refreshHz : 60);

    const ScreenInfo screen = ScreenInfo{1, QStringLiteral("bench"), QRectF(0, 0, 1920, 1080), 0, {}, {}}
                                  .withCameraHousing({200, 32});
    test::NotchViewRig rig(screen, QColor(48, 112, 192));
    if (!rig.root)
        return 1;
    if (!QTest::qWaitForWindowExposed(&rig.view))
        return 1;
    QTest::qWait(500);

    QElapsedTimer clock;
    clock.start();
    // With the threaded render loop frames are swapped on the render thread.
    QMutex swapsLock;
    QList<qint64> swaps;
    // The body's shape after each animation tick (main thread).
    QQuickItem *body = rig.body();
    QList<bool> moved;
    QRectF lastShape;
    // The callbacks' context, destroyed before what they use: the window still
    // draws while the rig goes, and must not reach these locals then.
    QObject probes;
    QObject::connect(
        &rig.view, &QQuickWindow::frameSwapped, &probes,
        [&] {
            QMutexLocker lock(&swapsLock);
            swaps.append(clock.nsecsElapsed());
        },
        Qt::DirectConnection);
    QObject::connect(&rig.view, &QQuickWindow::afterAnimating, &probes, [&] {
        const QRectF shape(body->property("bottomRadius").toReal(), 0, body->width(), body->height());
        moved.append(shape != lastShape);
        lastShape = shape;
    });

    const QList<Phase> phases{
        {"hover", [](NotchViewModel &vm) { vm.setIsHovering(true); }},
        {"open", [](NotchViewModel &vm) { vm.setIsFullyExpanded(true); }},
        {"collapse", [](NotchViewModel &vm) { vm.setIsHovering(false); }},
    };
    struct Stats
    {
        QList<double> gaps;
        qint64 firstFrameNs = 0;
        int starts = 0;
        int dropped = 0;
        int still = 0;
    };
    QHash<QString, Stats> byPhase;
    Stats all;

    for (int cycle = 0; cycle < cycles; ++cycle) {
        for (const Phase &phase : phases) {
            {
                QMutexLocker lock(&swapsLock);
                swaps.clear();
            }
            moved.clear();
            const qint64 start = clock.nsecsElapsed();
            phase.change(rig.vm);
            QTest::qWait(kPhaseMs);
            QMutexLocker lock(&swapsLock);
            Stats &stats = byPhase[QLatin1String(phase.name)];
            const auto lastMove = std::find(moved.rbegin(), moved.rend(), true);
            const int still = int(std::count(lastMove, moved.rend(), false));
            stats.still += still;
            all.still += still;
            if (!swaps.isEmpty()) {
                stats.firstFrameNs += swaps.first() - start;
                ++stats.starts;
            }
            for (qsizetype i = 1; i < swaps.size(); ++i) {
                const double gap = double(swaps[i] - swaps[i - 1]) / 1e6;
                stats.gaps.append(gap);
                all.gaps.append(gap);
                if (gap > 1.5 * frameMs) {
                    const int skipped = int(std::lround(gap / frameMs)) - 1;
                    stats.dropped += skipped;
                    all.dropped += skipped;
                }
            }
        }
    }

    const QByteArray loop = qgetenv("QSG_RENDER_LOOP");
    std::printf("notch frames: %d hover-open-collapse cycles, display %.1f Hz (%.2f ms a frame), %s renderer, "
                "%s render loop\n",
                cycles, 1000.0 / frameMs, frameMs, QQuickWindow::sceneGraphBackend().isEmpty() ? "OpenGL" : qPrintable(QQuickWindow::sceneGraphBackend()),
                loop.isEmpty() ? "default" : loop.constData());
    std::printf("%-9s %7s %9s %9s %9s %8s %6s %12s\n", "phase", "frames", "p50 ms", "p95 ms", "max ms", "dropped",
                "still", "1st frame ms");
    auto row = [](const char *name, const Stats &s) {
        const double maxGap = s.gaps.isEmpty() ? 0 : *std::max_element(s.gaps.begin(), s.gaps.end());
        std::printf("%-9s %7lld %9.2f %9.2f %9.2f %8d %6d", name, static_cast<long long>(s.gaps.size()),
                    percentile(s.gaps, 0.5), percentile(s.gaps, 0.95), maxGap, s.dropped, s.still);
        if (s.starts > 0)
            std::printf(" %12.2f", double(s.firstFrameNs) / s.starts / 1e6);
        std::printf("\n");
    };
    for (const Phase &phase : phases)
        row(phase.name, byPhase.value(QLatin1String(phase.name)));
    row("all", all);
    std::fflush(stdout);
    return 0;
}
