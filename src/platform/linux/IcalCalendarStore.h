#pragma once

#include "platform/CalendarStore.h"
#include "platform/Scheduler.h"

#include <QFileSystemWatcher>

#include <memory>

namespace talvo {

class HelperFolderChooser;
class IcalCalendarCache;
class WorkQueue;

// The user's calendars as iCalendar files: Talvo's own vdir folder (where new
// events go, one file each) and the folders and files the user listed, such as
// those a sync tool keeps in step with a calendar server or the desktop's local
// calendar file.
//
// Files are read and expanded on the work queue; only new events are written,
// each to a new file in Talvo's folder, so nothing another program keeps is
// ever rewritten. Changes on disk are watched: folders for files coming, going
// and being replaced (how sync tools and editors write), single files for edits
// in place. In-place edits inside folders are seen by the next load.
class IcalCalendarStore final : public CalendarStore
{
    Q_OBJECT
public:
    IcalCalendarStore(Scheduler &scheduler, WorkQueue &queue, const QString &ownFolder = defaultOwnFolder(),
                      QObject *parent = nullptr);
    ~IcalCalendarStore() override;

    // $XDG_DATA_HOME/talvo/calendars/personal
    static QString defaultOwnFolder();
    // Bursts of file events within this span make one change.
    static constexpr Scheduler::Duration changeSettle{300};

    QString ownFolder() const { return m_ownFolder; }
    // What chooseCalendarFolder() asks the user with; without one it logs
    // and chooses nothing.
    void setFolderChooser(HelperFolderChooser *chooser) { m_folderChooser = chooser; }
    QStringList watchedPaths() const;

    void setSources(const QStringList &sources) override;
    CalendarAuthorization authorizationStatus() const override;
    void requestFullAccess(const QObject *context, std::function<void()> done) override;
    void chooseCalendarFolder(const QObject *context, std::function<void(QString)> chosen) override;
    void loadEvents(const QDateTime &from, const QDateTime &to, const QObject *context,
                    EventsCallback done) override;
    bool saveEvent(const NewCalendarEvent &event, QString *error) override;

private:
    QStringList sourcePaths() const;
    void watchCalendars();
    void noteChangeOnDisk();

    Scheduler &m_scheduler;
    WorkQueue &m_queue;
    QString m_ownFolder;
    HelperFolderChooser *m_folderChooser = nullptr;
    QStringList m_sources;
    // Shared with the jobs on the queue, which may outlive the store.
    std::shared_ptr<IcalCalendarCache> m_cache;
    QFileSystemWatcher m_watcher;
    TimerHandle m_pendingChange;
};

} // namespace talvo
