// The floor under the notch's idle cost, for bench_notch_idle: the same look
// at the pointer every 50 ms, paced the same way, and nothing else.
#include "platform/ThreadTimerQueue.h"
#include "platform/linux/X11Pointer.h"
#include "platform/linux/XcbConnection.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    talvo::XcbConnection connection;
    talvo::X11Pointer pointer(connection);
    talvo::ThreadTimerQueue queue(QStringLiteral("pollfloor"));
    talvo::TimerHandle poll =
        pointer.sampleEvery(queue, std::chrono::milliseconds(50), [](std::optional<talvo::PointerSample>) {});
    std::printf("ready\n");
    std::fflush(stdout);
    const int result = app.exec();
    poll.cancel();
    return result;
}
