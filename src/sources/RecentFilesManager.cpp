#include "RecentFilesManager.h"

#include "platform/FileOpener.h"
#include "platform/FolderChooser.h"
#include "platform/Log.h"
#include "platform/WorkQueue.h"
#include "preferences/PreferenceKeys.h"
#include "preferences/Preferences.h"
#include "platform/QmlInstances.h"

#include <QPointer>

#include <algorithm>

namespace talvo {

namespace {
const QString bookmarkKey = QString::fromLatin1(PrefKey::downloadsFolderBookmark.name);
} // namespace

RecentFilesManager::RecentFilesManager(Preferences &preferences, Scheduler &scheduler, WorkQueue &queue,
                                       FolderChooser &chooser, FolderBookmarks &bookmarks, FolderLister &lister,
                                       FileOpener &opener, QObject *parent)
    : QObject(parent)
    , m_preferences(preferences)
    , m_scheduler(scheduler)
    , m_queue(queue)
    , m_chooser(chooser)
    , m_bookmarks(bookmarks)
    , m_lister(lister)
    , m_opener(opener)
    , m_recentFiles(this)
{
    checkPermission();
}

RecentFilesManager::~RecentFilesManager()
{
    m_timer.cancel();
}

RecentFilesManager *RecentFilesManager::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<RecentFilesManager>(qmlEngine);
}

std::optional<QByteArray> RecentFilesManager::storedBookmark() const
{
    return m_preferences.value(PrefKey::downloadsFolderBookmark);
}

void RecentFilesManager::storeBookmark(const QByteArray &data)
{
    m_preferences.setObject(data, bookmarkKey);
}

void RecentFilesManager::checkPermission()
{
    setHasPermission(storedBookmark().has_value());
}

void RecentFilesManager::startMonitoring()
{
    if (m_timer.isActive())
        return;
    refresh();
    m_timer = m_scheduler.every(refreshInterval, this, [this] { tick(); });
}

void RecentFilesManager::stopMonitoring()
{
    m_timer.cancel();
    m_timer = {};
}

void RecentFilesManager::tick()
{
    // A folder that takes longer than the interval to list must not pile up
    // passes on the queue; the next tick after it finishes lists it again.
    if (m_refreshInFlight)
        return;
    refresh();
}

void RecentFilesManager::requestAccess()
{
    if (m_choosing)
        return;
    m_choosing = true;
    FolderChooserRequest request;
    request.message = QStringLiteral("Grant access to your Downloads folder to display recent files.");
    request.prompt = QStringLiteral("Grant Access");
    request.startDirectory = m_chooser.downloadsFolder().value_or(QString());
    m_scheduler.post(this, [this, request] {
        // The chooser runs a nested event loop; anything may happen meanwhile.
        QPointer<RecentFilesManager> self(this);
        const std::optional<QString> chosen = m_chooser.chooseFolder(request);
        if (!self)
            return;
        m_choosing = false;
        if (!chosen)
            return;
        const BookmarkCreation created = m_bookmarks.createBookmark(*chosen);
        if (!created.data) {
            qCWarning(lcDownloads).noquote() << QStringLiteral("Error creating Downloads folder bookmark: ")
                                                + created.error;
            return;
        }
        storeBookmark(*created.data);
        setHasPermission(true);
        refresh();
    });
}

RecentFilesManager::Resolved RecentFilesManager::resolve(const FolderBookmarks &bookmarks, const QByteArray &data)
{
    Resolved resolved;
    resolved.resolution = bookmarks.resolveBookmark(data);
    if (resolved.resolution.path && resolved.resolution.isStale) {
        // Failing to renew is harmless: the old data still resolved, and the
        // next pass tries again.
        resolved.freshBookmark = bookmarks.createBookmark(*resolved.resolution.path).data;
    }
    return resolved;
}

void RecentFilesManager::adoptResolution(const Resolved &resolved)
{
    if (resolved.freshBookmark)
        storeBookmark(*resolved.freshBookmark);
    if (!resolved.resolution.path)
        qCWarning(lcDownloads).noquote() << QStringLiteral("Error resolving Downloads folder bookmark: ")
                                            + resolved.resolution.error;
}

std::optional<QUrl> RecentFilesManager::resolveFolderURL()
{
    const std::optional<QByteArray> data = storedBookmark();
    if (!data)
        return std::nullopt;
    const Resolved resolved = resolve(m_bookmarks, *data);
    adoptResolution(resolved);
    if (!resolved.resolution.path)
        return std::nullopt;
    return QUrl::fromLocalFile(*resolved.resolution.path);
}

QList<QUrl> RecentFilesManager::selectRecentFiles(QList<FolderEntry> entries)
{
    // Unknown kind counts as a file: better to show an odd entry than to hide
    // a download.
    entries.removeIf([](const FolderEntry &entry) { return entry.isDirectory.value_or(false); });
    const auto newerFirst = [](const FolderEntry &a, const FolderEntry &b) {
        const bool aDated = a.modified.isValid();
        const bool bDated = b.modified.isValid();
        if (aDated != bDated)
            return aDated;
        if (aDated && a.modified != b.modified)
            return a.modified > b.modified;
        return a.path < b.path;
    };
    const auto keep = std::min<qsizetype>(entries.size(), fileLimit);
    std::partial_sort(entries.begin(), entries.begin() + keep, entries.end(), newerFirst);
    QList<QUrl> files;
    files.reserve(keep);
    for (qsizetype i = 0; i < keep; ++i)
        files.append(QUrl::fromLocalFile(entries.at(i).path));
    return files;
}

RecentFilesManager::RefreshOutcome RecentFilesManager::refreshOffMain(FolderBookmarks &bookmarks,
                                                                      const FolderLister &lister, QByteArray data)
{
    RefreshOutcome outcome;
    outcome.bookmark = std::move(data);
    outcome.resolved = resolve(bookmarks, outcome.bookmark);
    const std::optional<QString> &folder = outcome.resolved.resolution.path;
    if (!folder)
        return outcome;
    const bool granted = bookmarks.startAccessing(*folder);
    outcome.listing = lister.list(*folder);
    if (outcome.listing.ok)
        outcome.files = selectRecentFiles(std::move(outcome.listing.entries));
    outcome.listing.entries.clear();
    if (granted)
        bookmarks.stopAccessing(*folder);
    return outcome;
}

void RecentFilesManager::refresh()
{
    if (m_refreshInFlight) {
        m_refreshAgain = true;
        return;
    }
    const std::optional<QByteArray> data = storedBookmark();
    if (!data) {
        m_scheduler.post(this, [this] {
            setHasPermission(false);
            setRecentFiles({});
        });
        return;
    }
    m_refreshInFlight = true;
    FolderBookmarks &bookmarks = m_bookmarks;
    const FolderLister &lister = m_lister;
    runOnQueue<RefreshOutcome>(
        m_queue, m_scheduler, this,
        [&bookmarks, &lister, data = *data] { return refreshOffMain(bookmarks, lister, data); },
        [this](RefreshOutcome outcome) { finishRefresh(outcome); });
}

void RecentFilesManager::finishRefresh(const RefreshOutcome &outcome)
{
    m_refreshInFlight = false;
    // A grant made while this pass was out describes another folder; its
    // result (and its renewed bookmark) would overwrite the newer choice.
    const bool current = storedBookmark() == outcome.bookmark;
    if (current) {
        adoptResolution(outcome.resolved);
        if (!outcome.resolved.resolution.path) {
            setHasPermission(false);
            setRecentFiles({});
        } else if (!outcome.listing.ok) {
            qCWarning(lcDownloads).noquote() << QStringLiteral("Error reading downloads folder: ")
                                                + outcome.listing.error;
        } else {
            setRecentFiles(outcome.files);
            setHasPermission(true);
        }
    }
    if (m_refreshAgain || !current) {
        m_refreshAgain = false;
        refresh();
    }
}

void RecentFilesManager::openFile(const QUrl &url)
{
    const std::optional<QUrl> folder = resolveFolderURL();
    if (!folder) {
        m_opener.open(url);
        return;
    }
    const QString folderPath = folder->toLocalFile();
    const bool granted = m_bookmarks.startAccessing(folderPath);
    m_opener.open(url);
    if (granted)
        m_bookmarks.stopAccessing(folderPath);
}

void RecentFilesManager::setHasPermission(bool value)
{
    if (m_hasPermission == value)
        return;
    m_hasPermission = value;
    emit hasPermissionChanged();
}

void RecentFilesManager::setRecentFiles(const QList<QUrl> &files)
{
    if (m_recentFiles.setUrls(files))
        emit recentFilesChanged();
}

} // namespace talvo
