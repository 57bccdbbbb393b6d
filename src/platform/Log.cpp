#include "Log.h"

#include <QDebug>

#include <cstdio>

namespace talvo {

void logLine(const QString &prefix, const QString &description)
{
    qInfo().noquote() << prefix + description;
}

static void writeMessage(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    const QByteArray line = message.toUtf8() + '\n';
    std::FILE *stream = type == QtInfoMsg ? stdout : stderr;
    std::fwrite(line.constData(), 1, size_t(line.size()), stream);
    std::fflush(stream);
}

void installLogHandler()
{
    qInstallMessageHandler(writeMessage);
}

} // namespace talvo
