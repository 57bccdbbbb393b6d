// Start-up of a returning user's Talvo beside a bare Qt Quick window of the
// notch window's size started the same way (idle_barewindow), on a private
// composited X server with the OpenGL scene graph (on a machine without a GPU,
// Mesa's software rasteriser): from launching the program until its black body
// is on screen, as a screenshot sees it. The two programs take turns; each is
// launched once before the count so that both find their files in the page cache.
//
// Usage: bench_startup [launches of each, default 7]
// Fails when Talvo's median is more than 1.3 times the bare window's.
#include "BenchDesktop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <cstdio>

using talvo::e2e::E2eDesktop;

namespace {

constexpr double kTargetRatio = 1.3;
const QPoint kAway(960, 700);
// The middle of each program's collapsed body: Talvo's window sits at the top
// centre, the bare window 300 pixels lower.
const QRect kTalvoProbe(950, 6, 20, 10);
const QRect kBareProbe(950, 306, 20, 10);

// Whether the body is drawn in `probe`: every pixel near black.
bool bodyShown(E2eDesktop &desktop, const QRect &probe)
{
    const QImage image = desktop.grab(probe);
    if (image.isNull())
        return false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qRed(pixel) > 24 || qGreen(pixel) > 24 || qBlue(pixel) > 24)
                return false;
        }
    }
    return true;
}

// Milliseconds from launch until the body shows at `probe`, or -1; the program
// is stopped again and its window gone before this returns.
double launch(E2eDesktop &desktop, const QString &program, const QRect &probe)
{
    QElapsedTimer clock;
    clock.start();
    QProcess *process = desktop.startProgram(program, {});
    double ms = -1;
    while (clock.elapsed() < 15000 && process->state() == QProcess::Running) {
        if (bodyShown(desktop, probe)) {
            ms = double(clock.nsecsElapsed()) / 1e6;
            break;
        }
        QThread::usleep(500);
    }
    process->terminate();
    if (!process->waitForFinished(5000))
        process->kill();
    process->waitForFinished(5000);
    QElapsedTimer gone;
    gone.start();
    while (bodyShown(desktop, probe) && gone.elapsed() < 5000)
        QThread::msleep(10);
    // Let the server and the compositor settle between launches.
    QThread::msleep(300);
    return ms;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? -1 : values.at(values.size() / 2);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int launches = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 7;

    const auto started = talvo::e2e::startBenchDesktop(true, kAway);
    if (!started)
        return 1;
    E2eDesktop &desktop = *started;
    const QString talvo = QStringLiteral(TALVO_BINARY);
    const QString bare = QStringLiteral(TALVO_BARE_WINDOW);
    // The first launch also registers the launcher and the login item, as
    // a new user's does; from the second on Talvo starts as a returning user's.
    if (launch(desktop, talvo, kTalvoProbe) < 0 || launch(desktop, bare, kBareProbe) < 0) {
        std::fprintf(stderr, "the programs did not show their windows\n");
        return 1;
    }

    QList<double> talvoMs;
    QList<double> bareMs;
    for (int i = 0; i < launches; ++i) {
        const double t = launch(desktop, talvo, kTalvoProbe);
        const double b = launch(desktop, bare, kBareProbe);
        if (t < 0 || b < 0) {
            std::fprintf(stderr, "launch %d: a program did not show its window\n", i + 1);
            return 1;
        }
        talvoMs << t;
        bareMs << b;
        std::printf("launch %d: talvo %.0f ms, bare window %.0f ms\n", i + 1, t, b);
        std::fflush(stdout);
    }
    const double ratio = median(talvoMs) / median(bareMs);
    std::printf("start-up until the notch is on screen: talvo median %.0f ms (best %.0f), bare window median %.0f ms "
                "(best %.0f), ratio %.2f (target <= %.1f)\n",
                median(talvoMs), *std::min_element(talvoMs.begin(), talvoMs.end()), median(bareMs),
                *std::min_element(bareMs.begin(), bareMs.end()), ratio, kTargetRatio);
    return ratio <= kTargetRatio ? 0 : 1;
}
