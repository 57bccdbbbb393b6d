// The weather card's rain scene in the real program: the panel open for 10 s
// with the card framed and the loopback forecast answering rain, drawn by Qt
// Quick's OpenGL scene graph (on this machine Mesa's software rasteriser; pass
// "software" to use Qt Quick's own software renderer instead). Reports the
// time the render thread took per frame and the time between frames (median,
// 95th percentile, longest), the program's CPU use while open (percent of one
// core) and its CPU use after the collapse, quarter second by quarter second,
// against its idle figure before opening. Starts its own Xvfb with a compositing manager.
//
// Usage: bench_rain_scene [software]
#include "E2eDesktop.h"
#include "fakes/LoopbackHttpServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QThread>

#include <algorithm>
#include <cstdio>

using namespace talvo;
using namespace talvo::e2e;

namespace {

const QPoint kAway(960, 700);
const QPoint kHotZone(960, 5);
const QPoint kOverWeather(960, 90);
constexpr int kOpenSeconds = 10;

double percentile(QList<double> values, double p)
{
    if (values.isEmpty())
        return -1;
    std::sort(values.begin(), values.end());
    return values.at(qMin(values.size() - 1, qsizetype(p * double(values.size() - 1) + 0.5)));
}

void spin(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(2);
    }
}

// CPU use of `pid` over the next `ms`, in percent of one core.
double cpuOver(qint64 pid, int ms)
{
    const double start = E2eDesktop::cpuSeconds(pid);
    spin(ms);
    return (E2eDesktop::cpuSeconds(pid) - start) / (ms / 1000.0) * 100;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const bool software = argc > 1 && QByteArray(argv[1]) == "software";

    LoopbackHttpServer forecast;
    if (!forecast.listen())
        return 1;
    forecast.setReply(QStringLiteral("/v1/forecast"),
                      LoopbackHttpServer::Reply::json(
                          R"({"current":{"temperature_2m":11.2,"apparent_temperature":9.0,"weather_code":63}})"));

    E2eDesktop desktop({QSize(1920, 1080), true, QStringLiteral(TALVO_E2E_WINDOW)});
    if (!desktop.start()) {
        std::fprintf(stderr, "cannot start the desktop: %s\n", qPrintable(desktop.error()));
        return 1;
    }
    desktop.setEnvironmentValue(QStringLiteral("TALVO_FORECAST_URL"), forecast.url().toString());
    desktop.setEnvironmentValue(QStringLiteral("QT_QUICK_BACKEND"), software ? QStringLiteral("software") : QString());
    desktop.setEnvironmentValue(QStringLiteral("QT_LOGGING_RULES"),
                                QStringLiteral("qt.scenegraph.time.renderloop=true;qt.scenegraph.time.renderer=true;"
                                               "qt.scenegraph.renderloop=true"));
    for (const QStringList &setting : {QStringList{QStringLiteral("hasCompletedOnboarding"), QStringLiteral("true")},
                                       QStringList{QStringLiteral("--bool"), QStringLiteral("enableFramelessWidgets"),
                                                   QStringLiteral("false")}}) {
        QProcess *prefs = desktop.startProgram(QStringLiteral(TALVO_BINARY), QStringList{QStringLiteral("prefs"),
                                                                                        QStringLiteral("set")} + setting);
        if (!prefs->waitForFinished(10000) || prefs->exitCode() != 0) {
            std::fprintf(stderr, "cannot set the preferences\n");
            return 1;
        }
    }
    desktop.movePointer(kAway);

    // Started here rather than by the desktop: its render-loop log is read.
    QProcess talvo;
    talvo.setProcessEnvironment(desktop.environment());
    talvo.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    bool recording = false;
    QList<double> renderMs;
    QList<double> gaps;
    QByteArray pending;
    // The render thread's lines: one as each frame begins (the gaps between
    // them are the frame times) and one with the time the frame took.
    const QRegularExpression startLine(software ? QStringLiteral("RT - syncAndRender\\(\\)")
                                                : QStringLiteral("syncAndRender: start"));
    const QRegularExpression renderLine(software ? QStringLiteral("time in renderer: total=(\\d+)ms")
                                                 : QStringLiteral("syncAndRender: frame rendered in (\\d+)ms"));
    double lastStart = -1;
    QObject::connect(&talvo, &QProcess::readyReadStandardError, &talvo, [&] {
        pending += talvo.readAllStandardError();
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(pending.left(end));
            pending.remove(0, end + 1);
            if (!recording)
                continue;
            if (const QRegularExpressionMatch match = renderLine.match(line); match.hasMatch()) {
                renderMs.append(match.captured(1).toDouble());
            } else if (startLine.match(line).hasMatch()) {
                const double now = double(clock.nsecsElapsed()) / 1e6;
                if (lastStart >= 0)
                    gaps.append(now - lastStart);
                lastStart = now;
            }
        }
    });
    talvo.start(QStringLiteral(TALVO_BINARY), {});
    if (!talvo.waitForStarted()) {
        std::fprintf(stderr, "cannot start talvo\n");
        return 1;
    }
    clock.restart();
    while (!desktop.notchRect().isValid() && clock.elapsed() < 15000)
        spin(50);
    spin(3000); // start-up work and the forecast settle
    const qint64 pid = talvo.processId();
    const double idle = cpuOver(pid, 3000);

    desktop.glidePointer(kAway, kHotZone, 6, 10);
    desktop.click(kHotZone);
    clock.restart();
    while (!desktop.controlProperty(QStringLiteral("panelPresent")).toBool() && clock.elapsed() < 5000)
        spin(20);
    desktop.movePointer(kOverWeather);
    QString scene;
    for (clock.restart(); scene != u"rain" && clock.elapsed() < 3000; spin(20))
        scene = desktop.controlProperty(QStringLiteral("panelWeatherScene")).toString();
    spin(500); // the opening spring
    recording = true;
    const double open = cpuOver(pid, kOpenSeconds * 1000);
    recording = false;

    desktop.movePointer(kAway);
    QList<double> after;
    for (int quarter = 0; quarter < 8; ++quarter)
        after.append(cpuOver(pid, 250));

    std::printf("rain scene (%s, scene \"%s\"), panel open %d s: %lld frames\n",
                software ? "software renderer" : "OpenGL scene graph", qPrintable(scene), kOpenSeconds,
                static_cast<long long>(renderMs.size()));
    std::printf("render time per frame: median %.1f ms, p95 %.1f ms, max %.1f ms\n", percentile(renderMs, 0.5),
                percentile(renderMs, 0.95), percentile(renderMs, 1));
    std::printf("time between frames:   median %.1f ms, p95 %.1f ms, max %.1f ms (target p95 <= 16.7 ms)\n",
                percentile(gaps, 0.5), percentile(gaps, 0.95), percentile(gaps, 1));
    std::printf("CPU: idle %.2f %%, open %.1f %%; after the collapse, by quarter second:", idle, open);
    for (double quarter : after)
        std::printf(" %.1f", quarter);
    std::printf(" %%\n");
    talvo.terminate();
    talvo.waitForFinished(3000);
    return 0;
}
