#include "DesktopEntryIcon.h"

#include "DesktopApplicationCatalog.h"

#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImageReader>

namespace talvo {

namespace {

QImage readImageFile(const QString &path, int size)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > DesktopEntryIcon::kMaxImageBytes)
        return {};
    QImageReader reader(path);
    const QSize declared = reader.size();
    if (declared.isValid() && (declared.width() > size || declared.height() > size))
        reader.setScaledSize(declared.scaled(size, size, Qt::KeepAspectRatio));
    else if (!declared.isValid())
        reader.setScaledSize(QSize(size, size)); // scalable formats declare nothing
    return reader.read();
}

} // namespace

QString DesktopEntryIcon::iconName(const QString &entryPath)
{
    QFile file(entryPath);
    if (!QFileInfo(entryPath).isFile() || !file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray content = file.read(kMaxEntryBytes);
    bool inEntryGroup = false;
    for (const QByteArray &rawLine : content.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.startsWith('[')) {
            inEntryGroup = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntryGroup || !line.startsWith("Icon"))
            continue;
        const int equals = line.indexOf('=');
        if (equals < 0 || line.left(equals).trimmed() != "Icon")
            continue;
        return QString::fromUtf8(line.mid(equals + 1).trimmed());
    }
    return {};
}

QImage DesktopEntryIcon::load(const QString &desktopEntry, int size)
{
    const QString id = desktopEntry.endsWith(u".desktop") ? desktopEntry : desktopEntry + QStringLiteral(".desktop");
    // A full path names the entry file itself (the favourites keep paths).
    const QString entryPath = QFileInfo(id).isAbsolute() ? (QFileInfo(id).isFile() ? id : QString())
                                                         : DesktopApplicationCatalog::entryPath(id);
    if (entryPath.isEmpty())
        return {};
    const QString icon = iconName(entryPath);
    if (icon.isEmpty())
        return {};
    if (QFileInfo(icon).isAbsolute())
        return readImageFile(icon, size);
    const QIcon themed = QIcon::fromTheme(icon);
    if (!themed.isNull())
        return themed.pixmap(QSize(size, size)).toImage();
    for (const char *extension : {".png", ".svg", ".xpm"}) {
        const QImage image = readImageFile(QStringLiteral("/usr/share/pixmaps/") + icon + QLatin1String(extension), size);
        if (!image.isNull())
            return image;
    }
    return {};
}

} // namespace talvo
