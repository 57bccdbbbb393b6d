#include "HelperFolderChooser.h"

#include "HelperProcess.h"
#include "platform/Log.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>

namespace talvo {

void HelperFolderChooser::chooseFolderLater(const FolderChooserRequest &request, const QObject *context,
                                            std::function<void(std::optional<QString>)> done)
{
    QStringList arguments{QStringLiteral("choose-folder"), QStringLiteral("--message"), request.message,
                          QStringLiteral("--prompt"), request.prompt};
    if (!request.startDirectory.isEmpty())
        arguments << QStringLiteral("--start") << request.startDirectory;
    QProcess *process = newHelperProcess(m_helperProgram, arguments, lcFolders());

    QPointer<const QObject> guard(context);
    auto finish = [process, guard, hasContext = context != nullptr,
                   done = std::move(done)](const QString &folder) {
        process->deleteLater();
        if (hasContext && !guard)
            return;
        if (folder.isEmpty())
            done(std::nullopt);
        else
            done(folder);
    };
    QObject::connect(process, &QProcess::errorOccurred, process, [finish](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) // a crash also ends in finished()
            finish({});
    });
    QObject::connect(process, &QProcess::finished, process, [process, finish](int code, QProcess::ExitStatus status) {
        QByteArray output = process->readAllStandardOutput();
        if (status == QProcess::NormalExit && code == 1)
            return finish({}); // cancelled
        // The path is followed by exactly one newline; it may hold newlines itself.
        if (status != QProcess::NormalExit || code != 0 || !output.endsWith('\n') || output.size() < 2) {
            qCWarning(lcFolders).noquote() << QStringLiteral("The folder dialog failed (exit %1)")
                                                  .arg(status == QProcess::NormalExit ? QString::number(code)
                                                                                      : QStringLiteral("by a crash"));
            return finish({});
        }
        output.chop(1);
        const QString path = QFile::decodeName(output);
        if (!QFileInfo(path).isAbsolute()) {
            qCWarning(lcFolders) << "The folder dialog answered with a relative path; ignored";
            return finish({});
        }
        finish(path);
    });
    process->start();
}

std::optional<QString> HelperFolderChooser::chooseFolder(const FolderChooserRequest &request)
{
    QEventLoop loop;
    std::optional<QString> chosen;
    bool answered = false;
    chooseFolderLater(request, &loop, [&](std::optional<QString> folder) {
        chosen = std::move(folder);
        answered = true;
        loop.quit();
    });
    // A helper that cannot start answers before the loop runs.
    if (!answered)
        loop.exec();
    return chosen;
}

std::optional<QString> HelperFolderChooser::downloadsFolder() const
{
    const QString path = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return std::nullopt;
    return path;
}

} // namespace talvo
