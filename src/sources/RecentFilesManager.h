#pragma once

#include "RecentFilesModel.h"
#include "platform/FolderBookmarks.h"
#include "platform/FolderLister.h"
#include "platform/Scheduler.h"

#include <QObject>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <optional>

class QQmlEngine;
class QJSEngine;

namespace talvo {

class FileOpener;
class FolderChooser;
class Preferences;
class WorkQueue;

// The newest files of the folder the user granted (normally Downloads). The
// grant is kept as a bookmark in the preferences; every refresh resolves it
// again, so a renamed folder keeps working and a deleted one takes the
// permission away until it comes back.
//
// Main thread only. Resolving and listing run on the work queue; their result
// is published on the main thread, and only when it changed.
class RecentFilesManager : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(talvo::RecentFilesModel *recentFiles READ recentFilesModel CONSTANT)
    Q_PROPERTY(bool hasPermission READ hasPermission NOTIFY hasPermissionChanged)
public:
    static constexpr int fileLimit = 15;
    static constexpr Scheduler::Duration refreshInterval{2000};

    RecentFilesManager(Preferences &preferences, Scheduler &scheduler, WorkQueue &queue, FolderChooser &chooser,
                       FolderBookmarks &bookmarks, FolderLister &lister, FileOpener &opener,
                       QObject *parent = nullptr);
    ~RecentFilesManager() override;

    static RecentFilesManager *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    const QList<QUrl> &recentFiles() const { return m_recentFiles.urls(); }
    RecentFilesModel *recentFilesModel() { return &m_recentFiles; }
    bool hasPermission() const { return m_hasPermission; }

    Q_INVOKABLE void checkPermission();
    // Refreshes from now on; later calls do nothing.
    Q_INVOKABLE void startMonitoring();
    // Stops refreshing; the list shown stays.
    Q_INVOKABLE void stopMonitoring();
    // Asks the user for the folder, on a later event-loop turn.
    Q_INVOKABLE void requestAccess();
    Q_INVOKABLE void refresh();
    // The granted folder, or nothing. Rewrites a stale bookmark. Blocks on the
    // file system: meant for a user's click, not for polling.
    std::optional<QUrl> resolveFolderURL();
    Q_INVOKABLE void openFile(const QUrl &url);

    // The files to show from a folder's entries: no directories, newest first,
    // undated last, ties by path so that refreshes agree, at most fileLimit.
    static QList<QUrl> selectRecentFiles(QList<FolderEntry> entries);

signals:
    void hasPermissionChanged();
    // Once per real change of the list.
    void recentFilesChanged();

private:
    struct Resolved
    {
        BookmarkResolution resolution;
        std::optional<QByteArray> freshBookmark; // set when stale and re-created
    };
    struct RefreshOutcome
    {
        QByteArray bookmark; // what this pass resolved
        Resolved resolved;
        FolderListing listing;
        QList<QUrl> files;
    };

    static Resolved resolve(const FolderBookmarks &bookmarks, const QByteArray &data);
    static RefreshOutcome refreshOffMain(FolderBookmarks &bookmarks, const FolderLister &lister, QByteArray data);
    std::optional<QByteArray> storedBookmark() const;
    void storeBookmark(const QByteArray &data);
    void adoptResolution(const Resolved &resolved);
    void finishRefresh(const RefreshOutcome &outcome);
    void tick();
    void setHasPermission(bool value);
    void setRecentFiles(const QList<QUrl> &files);

    Preferences &m_preferences;
    Scheduler &m_scheduler;
    WorkQueue &m_queue;
    FolderChooser &m_chooser;
    FolderBookmarks &m_bookmarks;
    FolderLister &m_lister;
    FileOpener &m_opener;

    RecentFilesModel m_recentFiles;
    bool m_hasPermission = false;
    TimerHandle m_timer;
    bool m_refreshInFlight = false;
    bool m_refreshAgain = false;
    bool m_choosing = false;
};

} // namespace talvo
