#include "Log.h"

#include <cstdio>
#include <cstring>

namespace talvo {

// Debug messages are off unless QT_LOGGING_RULES turns them on.
Q_LOGGING_CATEGORY(lcApp, "talvo.app", QtInfoMsg)
Q_LOGGING_CATEGORY(lcCalendar, "talvo.calendar", QtInfoMsg)
Q_LOGGING_CATEGORY(lcDBus, "talvo.dbus", QtInfoMsg)
Q_LOGGING_CATEGORY(lcDesktop, "talvo.desktop", QtInfoMsg)
Q_LOGGING_CATEGORY(lcDownloads, "talvo.downloads", QtInfoMsg)
Q_LOGGING_CATEGORY(lcFolders, "talvo.folders", QtInfoMsg)
Q_LOGGING_CATEGORY(lcMicrophone, "talvo.microphone", QtInfoMsg)
Q_LOGGING_CATEGORY(lcNotch, "talvo.notch", QtInfoMsg)
Q_LOGGING_CATEGORY(lcNowPlaying, "talvo.nowplaying", QtInfoMsg)
Q_LOGGING_CATEGORY(lcPreferences, "talvo.preferences", QtInfoMsg)
Q_LOGGING_CATEGORY(lcScreens, "talvo.screens", QtInfoMsg)
Q_LOGGING_CATEGORY(lcShelf, "talvo.shelf", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSound, "talvo.sound", QtInfoMsg)
Q_LOGGING_CATEGORY(lcTray, "talvo.tray", QtInfoMsg)
Q_LOGGING_CATEGORY(lcUi, "talvo.ui", QtInfoMsg)
Q_LOGGING_CATEGORY(lcUpdates, "talvo.updates", QtInfoMsg)
Q_LOGGING_CATEGORY(lcWeather, "talvo.weather", QtInfoMsg)
Q_LOGGING_CATEGORY(lcX11, "talvo.x11", QtInfoMsg)

static void writeMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const bool ours = context.category && std::strncmp(context.category, "talvo.", 6) == 0;
    QByteArray line;
    if (ours)
        line = QByteArray(context.category) + ": ";
    line += message.toUtf8() + '\n';
    std::FILE *stream = ours || type == QtInfoMsg ? stdout : stderr;
    std::fwrite(line.constData(), 1, size_t(line.size()), stream);
    std::fflush(stream);
}

void installLogHandler()
{
    qInstallMessageHandler(writeMessage);
}

} // namespace talvo
