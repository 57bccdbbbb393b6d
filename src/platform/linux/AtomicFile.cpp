#include "AtomicFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace talvo {

std::optional<QString> writeFileAtomically(const QString &path, const QByteArray &bytes, bool createFolder)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (createFolder && !QDir().mkpath(folder))
        return QStringLiteral("cannot create %1").arg(folder);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace talvo
