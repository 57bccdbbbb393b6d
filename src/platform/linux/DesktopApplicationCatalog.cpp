#include "DesktopApplicationCatalog.h"

#include "XdgAutostartLoginItem.h"
#include "platform/Log.h"


#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>

#include <algorithm>

namespace talvo {

namespace {

struct SettingsApp
{
    const char *desktop; // as XDG_CURRENT_DESKTOP names it
    const char *entryId;
};

// In the order used when the current desktop has none of its own.
constexpr SettingsApp kSettingsApps[] = {
    {"GNOME", "gnome-control-center.desktop"},
    {"GNOME", "org.gnome.Settings.desktop"},
    {"KDE", "systemsettings.desktop"},
    {"KDE", "org.kde.systemsettings.desktop"},
    {"XFCE", "xfce-settings-manager.desktop"},
    {"X-Cinnamon", "cinnamon-settings.desktop"},
    {"MATE", "mate-control-center.desktop"},
    {"LXQt", "lxqt-config.desktop"},
    {"Budgie", "budgie-control-center.desktop"},
};

QStringList currentDesktops()
{
    return qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts);
}

QStringList mimeAppsLists()
{
    QStringList prefixes;
    for (const QString &desktop : currentDesktops())
        prefixes << desktop.toLower() + u'-';
    prefixes << QString();

    QStringList files;
    const auto addFolder = [&](const QString &folder) {
        for (const QString &prefix : std::as_const(prefixes))
            files << folder + u'/' + prefix + QStringLiteral("mimeapps.list");
    };
    for (const QString &folder : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation))
        addFolder(folder);
    for (const QString &folder : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation))
        addFolder(folder);
    return files;
}

bool isEntryFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isReadable();
}

} // namespace

DesktopApplicationCatalog::DesktopApplicationCatalog() : DesktopApplicationCatalog(&firstInstalledBrowser) {}

DesktopApplicationCatalog::DesktopApplicationCatalog(BrowserQuery fallbackBrowserQuery)
    : m_fallbackBrowserQuery(std::move(fallbackBrowserQuery))
{
}

QStringList DesktopApplicationCatalog::defaultFavoriteApps() const
{
    QStringList apps;
    for (const QString &entry : {defaultBrowserEntry(), settingsEntry()}) {
        if (!entry.isEmpty() && !apps.contains(entry))
            apps << entry;
    }
    return apps;
}

QString DesktopApplicationCatalog::installedApplication(const QStringList &desktopFileIds) const
{
    for (const QString &id : desktopFileIds) {
        if (!entryPath(id).isEmpty())
            return id;
    }
    return {};
}

QString DesktopApplicationCatalog::defaultApplicationFor(const QString &contentType) const
{
    // The user's and the desktop's choice first, then the first installed
    // application that claims the type, as the desktop itself decides.
    for (const QString &list : mimeAppsLists()) {
        for (const QString &id : handlers(list, QStringLiteral("Default Applications"), contentType)) {
            if (!entryPath(id).isEmpty())
                return id;
        }
    }
    return firstInstalledHandler(contentType);
}

bool DesktopApplicationCatalog::launch(const QString &desktopFileId)
{
    const QString path = entryPath(desktopFileId);
    if (path.isEmpty())
        return false;
    return launchEntry(path);
}

namespace {

// A localised key as the Desktop Entry rules look it up: Name[ll_CC@mod],
// Name[ll_CC], Name[ll@mod], Name[ll], then Name.
QString localisedValue(const QHash<QString, QString> &entry, const QString &key)
{
    const QString locale = QLocale().name(); // "de_DE"
    const QString language = locale.section(u'_', 0, 0);
    for (const QString &suffix : {locale, language}) {
        const QString value = entry.value(key + u'[' + suffix + u']');
        if (!value.isEmpty())
            return value;
    }
    return entry.value(key);
}

bool isTrue(const QString &value)
{
    return value.compare(u"true", Qt::CaseInsensitive) == 0;
}

} // namespace

QList<ApplicationCatalog::Application> DesktopApplicationCatalog::installedApplications() const
{
    QList<Application> applications;
    QSet<QString> seen;
    for (const QString &folder : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
        const QDir root(folder);
        QDirIterator it(folder, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString id = root.relativeFilePath(path).replace(u'/', u'-');
            if (seen.contains(id))
                continue; // an earlier folder's entry of this id wins, even when hidden
            seen.insert(id);
            const QHash<QString, QString> entry = DesktopEntry::read(path);
            if (entry.value(QStringLiteral("Type")) != u"Application" || isTrue(entry.value(QStringLiteral("NoDisplay")))
                || isTrue(entry.value(QStringLiteral("Hidden"))))
                continue;
            const QString name = localisedValue(entry, QStringLiteral("Name"));
            applications.append({name.isEmpty() ? QFileInfo(path).completeBaseName() : name,
                                 QFileInfo(path).absoluteFilePath()});
        }
    }
    std::sort(applications.begin(), applications.end(), [](const Application &a, const Application &b) {
        return QString::localeAwareCompare(a.name, b.name) < 0;
    });
    return applications;
}

QString DesktopApplicationCatalog::displayName(const QString &entryPath) const
{
    const QString name = localisedValue(DesktopEntry::read(entryPath), QStringLiteral("Name"));
    if (!name.isEmpty())
        return name;
    QString file = QFileInfo(entryPath).fileName();
    if (file.endsWith(QLatin1String(".desktop")))
        file.chop(8);
    return file;
}

bool DesktopApplicationCatalog::launchEntry(const QString &path)
{
    if (!QFileInfo(path).isFile()) {
        qCWarning(lcDesktop).noquote() << QStringLiteral("Cannot launch %1: the entry is missing").arg(path);
        return false;
    }
    // GIO's own launcher, out of process: it expands the entry's command line,
    // honours D-Bus activation and startup notification, and keeps GIO out of
    // the long-running program's memory.
    if (!QProcess::startDetached(QStringLiteral("gio"), {QStringLiteral("launch"), path})) {
        qCWarning(lcDesktop).noquote() << "Launching" << path << "failed: gio could not be started";
        return false;
    }
    return true;
}

QString DesktopApplicationCatalog::defaultBrowserEntry() const
{
    const QString scheme = QStringLiteral("x-scheme-handler/http");
    for (const QString &list : mimeAppsLists()) {
        for (const QString &id : handlers(list, QStringLiteral("Default Applications"), scheme)) {
            const QString path = entryPath(id);
            if (!path.isEmpty())
                return path;
        }
    }
    if (!m_fallbackBrowserQuery)
        return {};
    const QString id = m_fallbackBrowserQuery();
    return id.isEmpty() ? QString() : entryPath(id);
}

QString DesktopApplicationCatalog::settingsEntry() const
{
    QList<const SettingsApp *> order;
    const QStringList desktops = currentDesktops();
    for (const SettingsApp &app : kSettingsApps) {
        if (desktops.contains(QLatin1String(app.desktop), Qt::CaseInsensitive))
            order << &app;
    }
    for (const SettingsApp &app : kSettingsApps) {
        if (!order.contains(&app))
            order << &app;
    }
    for (const SettingsApp *app : std::as_const(order)) {
        const QString path = entryPath(QLatin1String(app->entryId));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

QString DesktopApplicationCatalog::entryPath(const QString &desktopFileId)
{
    // An id names a file, never a path: "../x.desktop" or "/x.desktop" is no id.
    if (!desktopFileId.endsWith(QLatin1String(".desktop")) || desktopFileId.contains(u'/')
        || desktopFileId.startsWith(u'.'))
        return {};
    const QStringList folders = QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation);
    // Earlier folders take precedence, also over a subfolder match in a later one.
    for (const QString &folder : folders) {
        const QString direct = folder + u'/' + desktopFileId;
        if (isEntryFile(direct))
            return QFileInfo(direct).absoluteFilePath();
        if (!desktopFileId.contains(u'-'))
            continue;
        const QDir root(folder);
        QDirIterator it(folder, {QStringLiteral("*.desktop")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString id = root.relativeFilePath(path).replace(u'/', u'-');
            if (id == desktopFileId && isEntryFile(path))
                return QFileInfo(path).absoluteFilePath();
        }
    }
    return {};
}

QStringList DesktopApplicationCatalog::handlers(const QString &listPath, const QString &section,
                                                const QString &mimeType)
{
    const QString header = u'[' + section + u']';
    QFile file(listPath);
    if (!QFileInfo(listPath).isFile() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    bool inSection = false;
    // Far more than any real list; a huge file is not one.
    constexpr qint64 kMaxLine = 64 * 1024;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine(kMaxLine)).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            inSection = line == header;
            continue;
        }
        if (!inSection)
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0 || line.left(equals).trimmed() != mimeType)
            continue;
        QStringList handlers;
        for (const QString &id : line.mid(equals + 1).split(u';', Qt::SkipEmptyParts)) {
            const QString trimmed = id.trimmed();
            if (!trimmed.isEmpty())
                handlers << trimmed;
        }
        return handlers;
    }
    return {};
}

QString DesktopApplicationCatalog::firstInstalledHandler(const QString &contentType)
{
    // The installed applications' own claims, gathered by
    // update-desktop-database; the user's folder first.
    for (const QString &folder : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
        const QString cache = folder + QStringLiteral("/mimeinfo.cache");
        for (const QString &id : handlers(cache, QStringLiteral("MIME Cache"), contentType)) {
            if (!entryPath(id).isEmpty())
                return id;
        }
    }
    return {};
}

QString DesktopApplicationCatalog::firstInstalledBrowser()
{
    return firstInstalledHandler(QStringLiteral("x-scheme-handler/http"));
}

} // namespace talvo
