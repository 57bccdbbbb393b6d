#pragma once

#include "platform/CalendarStore.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <memory>

namespace talvo {

class IcalCalendarFile;

// The calendars' files as last read: each file is parsed once and read again
// only when it changed on disk (inode, size or times differ), so loading a day
// costs one listing and one stat per file. A file that cannot be used is logged
// once per version and skipped; it never keeps the other files' events away.
//
// Lives on the store's work queue: one thread at a time.
class IcalCalendarCache
{
public:
    struct Calendar
    {
        // A vdir folder (its .ics files, and those of its direct subfolders,
        // which is how sync tools lay out several calendars) or one .ics file.
        QString path;
        // Talvo's own folder exists only once something was written to it.
        bool mayBeMissing = false;
    };

    IcalCalendarCache();
    ~IcalCalendarCache();
    IcalCalendarCache(const IcalCalendarCache &) = delete;
    IcalCalendarCache &operator=(const IcalCalendarCache &) = delete;

    // The events overlapping [fromMs, toMs), calendar by calendar, each file's
    // events in file order. Identifiers are made unique within the answer.
    QList<CalendarEvent> load(const QList<Calendar> &calendars, qint64 fromMs, qint64 toMs);


private:
    struct FileKey
    {
        quint64 inode = 0;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        qint64 changedNs = 0;
        bool operator==(const FileKey &) const = default;
    };
    struct CachedFile
    {
        FileKey key;
        std::shared_ptr<const IcalCalendarFile> parsed; // null when unusable
        quint64 seenInLoad = 0;
    };
    // By folder, then by file name: short keys, as a load looks up every file.
    using Folder = QHash<QString, CachedFile>;

    const IcalCalendarFile *file(Folder &folder, const QString &folderPath, const QString &name);
    void collectFolder(const QString &folder, qint64 fromMs, qint64 toMs, QList<CalendarEvent> &out);
    void reportUnreadable(const QString &path, const QString &reason);

    QHash<QString, Folder> m_folders;
    quint64 m_load = 0;
    QSet<QString> m_seenCalendars;     // during one load, by canonical path
    QSet<QString> m_unreadable;        // calendars already reported
    QSet<QString> m_unreadableNow;     // during one load
};

} // namespace talvo
