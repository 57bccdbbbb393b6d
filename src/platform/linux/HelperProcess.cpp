#include "HelperProcess.h"

#include "platform/Log.h"

#include <QProcess>

namespace talvo {

QProcess *newHelperProcess(const QString &program, const QStringList &arguments,
                           const QLoggingCategory &category)
{
    auto *process = new QProcess;
    process->setProgram(program);
    process->setArguments(arguments);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QObject::connect(process, &QProcess::errorOccurred, process, [process, &category](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            qCWarning(category).noquote() << QStringLiteral("Cannot start %1: %2").arg(process->program(),
                                                                                      process->errorString());
    });
    return process;
}

} // namespace talvo
