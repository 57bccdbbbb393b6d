#include "DisplayLoss.h"

#include "platform/Log.h"

#include <QString>

#include <cstdio>
#include <unistd.h>

namespace talvo {

namespace {

std::function<void()> &flushAtLoss()
{
    static std::function<void()> flush;
    return flush;
}

QtMessageHandler g_next = nullptr;

void filterMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    // Qt's xcb backend says this just before it calls exit().
    if (type == QtWarningMsg && message.startsWith(QLatin1String("The X11 connection broke")))
        endForLostDisplay();
    if (g_next)
        g_next(type, context, message);
}

} // namespace

void installDisplayLossHandler(std::function<void()> flush)
{
    flushAtLoss() = std::move(flush);
    if (!g_next)
        g_next = qInstallMessageHandler(filterMessage);
}

void endForLostDisplay()
{
    static bool ending = false;
    if (!ending) {
        ending = true;
        qCWarning(lcX11).noquote() << QStringLiteral("Lost the connection to the X server; quitting");
        if (flushAtLoss())
            flushAtLoss()();
    }
    std::fflush(nullptr);
    ::_exit(1);
}

} // namespace talvo
