#include "FreedesktopContentTypes.h"

#include <QDir>
#include <QIcon>
#include <QStandardPaths>

namespace talvo {

static const QString kGenericData = QStringLiteral("application/octet-stream");

FreedesktopContentTypes::FreedesktopContentTypes()
{
    useDefaultIconThemeWhenUnset();
}

void FreedesktopContentTypes::resolveFallbackIcons() const
{
    if (!m_folderIcon.isEmpty())
        return;
    // "application-octet-stream" is the freedesktop icon-naming name;
    // Adwaita only ships "application-x-generic".
    m_genericDataIcon = firstInTheme({QStringLiteral("application-octet-stream"), QStringLiteral("application-x-generic")});
    m_folderIcon = firstInTheme({QStringLiteral("folder"), QStringLiteral("inode-directory")});
    if (m_folderIcon.isEmpty())
        m_folderIcon = QStringLiteral("folder");
    if (m_genericDataIcon.isEmpty())
        m_genericDataIcon = QStringLiteral("application-octet-stream");
}

void FreedesktopContentTypes::useDefaultIconThemeWhenUnset()
{
    const QString fallback = QStringLiteral("Adwaita");
    QStringList searchPaths = QIcon::themeSearchPaths();
    QStringList candidates{QDir::homePath() + QStringLiteral("/.icons")};
    candidates += QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                            QStandardPaths::LocateDirectory);
    for (const QString &path : std::as_const(candidates)) {
        if (!searchPaths.contains(path) && QDir(path).exists())
            searchPaths.append(path);
    }
    if (searchPaths != QIcon::themeSearchPaths())
        QIcon::setThemeSearchPaths(searchPaths);

    const QString theme = QIcon::themeName();
    if (theme.isEmpty())
        QIcon::setThemeName(fallback);
    const QString fallbackTheme = QIcon::fallbackThemeName();
    if (fallbackTheme.isEmpty() || fallbackTheme == QLatin1String("hicolor"))
        QIcon::setFallbackThemeName(fallback);
}

QString FreedesktopContentTypes::firstInTheme(const QStringList &candidates) const
{
    for (const QString &name : candidates) {
        if (!name.isEmpty() && QIcon::hasThemeIcon(name))
            return name;
    }
    return {};
}

QString FreedesktopContentTypes::iconNameForExtension(const QString &extension) const
{
    resolveFallbackIcons();
    if (extension.isEmpty())
        return m_genericDataIcon;
    const auto cached = m_iconByExtension.constFind(extension);
    if (cached != m_iconByExtension.constEnd())
        return *cached;

    QString icon;
    // Only the name is matched: nothing is read from any file.
    const QList<QMimeType> types = m_mimeDatabase.mimeTypesForFileName(QStringLiteral("file.") + extension);
    for (const QMimeType &type : types) {
        // Folders, mount points and the like are not data.
        if (type.name() != kGenericData && !type.inherits(kGenericData))
            continue;
        icon = firstInTheme({type.iconName(), type.genericIconName()});
        if (!icon.isEmpty())
            break;
    }
    if (icon.isEmpty())
        icon = m_genericDataIcon;
    m_iconByExtension.insert(extension, icon);
    return icon;
}

QString FreedesktopContentTypes::folderIconName() const
{
    resolveFallbackIcons();
    return m_folderIcon;
}

QString FreedesktopContentTypes::genericDataIconName() const
{
    resolveFallbackIcons();
    return m_genericDataIcon;
}

} // namespace talvo
