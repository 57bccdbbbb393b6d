#include "IcalCalendarStore.h"

#include "AtomicFile.h"
#include "HelperFolderChooser.h"
#include "IcalCalendarCache.h"
#include "IcalCalendarFile.h"
#include "platform/Log.h"
#include "platform/WorkQueue.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QStandardPaths>
#include <QUrl>
#include <QUuid>

namespace talvo {

IcalCalendarStore::IcalCalendarStore(Scheduler &scheduler, WorkQueue &queue, const QString &ownFolder,
                                     QObject *parent)
    : CalendarStore(parent)
    , m_scheduler(scheduler)
    , m_queue(queue)
    , m_ownFolder(QDir::cleanPath(ownFolder))
    , m_cache(std::make_shared<IcalCalendarCache>())
{
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &IcalCalendarStore::noteChangeOnDisk);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &IcalCalendarStore::noteChangeOnDisk);
    watchCalendars();
}

IcalCalendarStore::~IcalCalendarStore()
{
    m_pendingChange.cancel();
}

QString IcalCalendarStore::defaultOwnFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
           + QStringLiteral("/talvo/calendars/personal");
}

QStringList IcalCalendarStore::sourcePaths() const
{
    QStringList paths;
    for (const QString &source : m_sources) {
        QString path = source.trimmed();
        if (path.isEmpty())
            continue;
        if (path.startsWith(QStringLiteral("file:")))
            path = QUrl(path).toLocalFile();
        else if (path == QLatin1String("~") || path.startsWith(QStringLiteral("~/")))
            path = QDir::homePath() + path.mid(1);
        if (QDir::isRelativePath(path))
            path = QDir::home().filePath(path);
        path = QDir::cleanPath(path);
        if (!paths.contains(path))
            paths.append(path);
    }
    return paths;
}

void IcalCalendarStore::setSources(const QStringList &sources)
{
    if (sources == m_sources)
        return;
    m_sources = sources;
    watchCalendars();
}

static bool readable(const QFileInfo &info)
{
    return info.exists() && info.isReadable() && (!info.isDir() || info.isExecutable());
}

CalendarAuthorization IcalCalendarStore::authorizationStatus() const
{
    // There is no permission to ask for: access is whether the user's own
    // calendar can be used. A listed calendar that cannot be read is skipped
    // (and logged) when loading; it must not hide the others.
    const QFileInfo own(m_ownFolder);
    if (own.exists() && !readable(own))
        return CalendarAuthorization::Denied;
    return CalendarAuthorization::FullAccess;
}

void IcalCalendarStore::requestFullAccess(const QObject *context, std::function<void()> done)
{
    m_scheduler.post(context, std::move(done));
}

void IcalCalendarStore::chooseCalendarFolder(const QObject *context, std::function<void(QString)> chosen)
{
    if (!m_folderChooser) {
        qCWarning(lcCalendar) << "Cannot choose a calendar folder: no folder chooser in this process";
        return;
    }
    m_folderChooser->chooseFolderLater(
        {QStringLiteral("Choose a calendar folder"), QStringLiteral("Choose"), QDir::homePath()}, context,
        [chosen = std::move(chosen)](std::optional<QString> folder) {
            if (folder)
                chosen(QDir::cleanPath(*folder));
        });
}

void IcalCalendarStore::loadEvents(const QDateTime &from, const QDateTime &to, const QObject *context,
                                   EventsCallback done)
{
    QList<IcalCalendarCache::Calendar> calendars{{m_ownFolder, true}};
    for (const QString &path : sourcePaths())
        calendars.append({path, false});
    const qint64 fromMs = from.toMSecsSinceEpoch();
    const qint64 toMs = to.toMSecsSinceEpoch();
    runOnQueue<QList<CalendarEvent>>(
        m_queue, m_scheduler, context,
        [cache = m_cache, calendars, fromMs, toMs] { return cache->load(calendars, fromMs, toMs); },
        std::move(done));
    // Folders that appeared since (a first sync, say) get watched from now on.
    watchCalendars();
}

bool IcalCalendarStore::saveEvent(const NewCalendarEvent &event, QString *error)
{
    if (!event.start.isValid() || !event.end.isValid()) {
        *error = QStringLiteral("The event has no valid start or end.");
        return false;
    }
    if (event.end < event.start) {
        *error = QStringLiteral("The start date must be before the end date.");
        return false;
    }
    if (!QDir().mkpath(m_ownFolder)) {
        *error = QStringLiteral("Cannot create the calendar folder %1").arg(m_ownFolder);
        return false;
    }
    // A folder without write permission is the user's word that nothing goes
    // there; honour it even when running as root, who could write anyway.
    const QFileDevice::Permissions permissions = QFile::permissions(m_ownFolder);
    if (!(permissions & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther))) {
        *error = QStringLiteral("The calendar folder %1 is read-only").arg(m_ownFolder);
        return false;
    }

    QString uid;
    QString path;
    do {
        uid = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
        path = m_ownFolder + QLatin1Char('/') + uid + QStringLiteral(".ics");
    } while (QFileInfo::exists(path));

    const QByteArray bytes = IcalCalendarFile::composeNewEvent(uid, event, m_scheduler.now());
    if (const auto failure = writeFileAtomically(path, bytes, false)) {
        *error = *failure;
        return false;
    }
    watchCalendars();
    return true;
}

QStringList IcalCalendarStore::watchedPaths() const
{
    return m_watcher.directories() + m_watcher.files();
}

void IcalCalendarStore::watchCalendars()
{
    QStringList wanted;
    auto want = [&wanted](const QString &path) {
        if (!wanted.contains(path))
            wanted.append(path);
    };
    QStringList calendars{m_ownFolder};
    calendars += sourcePaths();
    for (const QString &path : std::as_const(calendars)) {
        const QFileInfo info(path);
        if (info.isDir()) {
            want(path);
            const QDir dir(path);
            for (const QString &sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
                want(dir.filePath(sub));
        } else if (info.exists()) {
            // Edits in place reach the file's watch; replacing the file (an
            // atomic save) only its folder's.
            want(path);
            want(info.absolutePath());
        }
    }
    const QStringList current = watchedPaths();
    QStringList gone;
    for (const QString &path : current) {
        if (!wanted.contains(path))
            gone.append(path);
    }
    QStringList added;
    for (const QString &path : std::as_const(wanted)) {
        if (!current.contains(path))
            added.append(path);
    }
    if (!gone.isEmpty())
        m_watcher.removePaths(gone);
    if (!added.isEmpty())
        m_watcher.addPaths(added);
}

void IcalCalendarStore::noteChangeOnDisk()
{
    if (m_pendingChange.isActive())
        return;
    m_pendingChange = m_scheduler.after(changeSettle, this, [this] {
        // A replaced file lost its watch, and new subfolders have none yet.
        watchCalendars();
        emit changed();
    });
}

} // namespace talvo
