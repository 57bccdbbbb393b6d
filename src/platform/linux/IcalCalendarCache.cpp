#include "IcalCalendarCache.h"

#include "IcalCalendarFile.h"
#include "platform/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

namespace talvo {

// Beyond this a file is not a calendar someone keeps by hand or by sync.
static constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

IcalCalendarCache::IcalCalendarCache() = default;
IcalCalendarCache::~IcalCalendarCache() = default;

void IcalCalendarCache::reportUnreadable(const QString &path, const QString &reason)
{
    m_unreadableNow.insert(path);
    if (!m_unreadable.contains(path))
        qCWarning(lcCalendar).noquote() << QStringLiteral("Cannot read calendar %1: %2").arg(path, reason);
}

const IcalCalendarFile *IcalCalendarCache::file(Folder &folder, const QString &folderPath, const QString &name)
{
    const QString path = folderPath + QLatin1Char('/') + name;
    struct stat st{};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return nullptr; // gone since the listing; the next load sees the folder as it is
    const FileKey key{quint64(st.st_ino), qint64(st.st_size),
                      qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec,
                      qint64(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec};
    CachedFile &entry = folder[name];
    entry.seenInLoad = m_load;
    if (entry.key == key)
        return entry.parsed.get();

    entry.key = key;
    entry.parsed.reset();
    if (key.size > kMaxFileSize) {
        qCWarning(lcCalendar).noquote() << QStringLiteral("Skipped calendar file %1: larger than %2 MB")
                                               .arg(path).arg(kMaxFileSize >> 20);
        return nullptr;
    }
    QFile input(path);
    if (!input.open(QIODevice::ReadOnly)) {
        qCWarning(lcCalendar).noquote() << QStringLiteral("Skipped calendar file %1: %2")
                                               .arg(path, input.errorString());
        return nullptr;
    }
    QString problem;
    std::unique_ptr<IcalCalendarFile> parsed = IcalCalendarFile::parse(input.readAll(), &problem);
    if (!parsed) {
        qCWarning(lcCalendar).noquote() << QStringLiteral("Skipped malformed calendar file %1: %2").arg(path, problem);
        return nullptr;
    }
    if (parsed->skippedEvents() > 0) {
        qCWarning(lcCalendar).noquote() << QStringLiteral("Skipped %1 malformed event(s) in %2: %3")
                                               .arg(parsed->skippedEvents())
                                               .arg(path, problem);
    }
    entry.parsed = std::move(parsed);
    return entry.parsed.get();
}

// The names of the .ics files in a folder, sorted. Read straight from the
// directory: a listing through QDir would stat every entry, and each file is
// stat'ed once anyway to see whether it changed.
static QStringList calendarFileNames(const QString &folder)
{
    QStringList names;
    DIR *dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        const size_t length = std::strlen(name);
        if (name[0] == '.' || length < 5 || qstricmp(name + length - 4, ".ics") != 0)
            continue;
        if (entry->d_type != DT_REG && entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN)
            continue;
        names.append(QFile::decodeName(name));
    }
    ::closedir(dir);
    names.sort();
    return names;
}

static QColor folderColor(const QString &folder)
{
    // vdir metadata: a file named "color" holding the calendar's colour.
    QFile file(folder + QStringLiteral("/color"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return IcalCalendarFile::parseColor(QString::fromUtf8(file.read(64)));
}

void IcalCalendarCache::collectFolder(const QString &folder, qint64 fromMs, qint64 toMs, QList<CalendarEvent> &out)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (m_seenCalendars.contains(canonical))
        return;
    m_seenCalendars.insert(canonical);
    const QColor color = folderColor(folder);
    Folder &cached = m_folders[folder];
    for (const QString &name : calendarFileNames(folder)) {
        if (const IcalCalendarFile *parsed = file(cached, folder, name))
            parsed->collect(fromMs, toMs, color, out);
    }
}

QList<CalendarEvent> IcalCalendarCache::load(const QList<Calendar> &calendars, qint64 fromMs, qint64 toMs)
{
    QList<CalendarEvent> out;
    ++m_load;
    m_seenCalendars.clear();
    m_unreadableNow.clear();

    for (const Calendar &calendar : calendars) {
        const QFileInfo info(calendar.path);
        if (!info.exists()) {
            if (!calendar.mayBeMissing)
                reportUnreadable(calendar.path, QStringLiteral("no such file or folder"));
            continue;
        }
        if (!info.isReadable() || (info.isDir() && !info.isExecutable())) {
            reportUnreadable(calendar.path, QStringLiteral("permission denied"));
            continue;
        }
        if (info.isDir()) {
            collectFolder(calendar.path, fromMs, toMs, out);
            const QDir dir(calendar.path);
            for (const QString &sub : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
                collectFolder(dir.filePath(sub), fromMs, toMs, out);
            continue;
        }
        const QString canonical = info.canonicalFilePath();
        if (m_seenCalendars.contains(canonical))
            continue;
        m_seenCalendars.insert(canonical);
        Folder &cached = m_folders[info.absolutePath()];
        if (const IcalCalendarFile *parsed = file(cached, info.absolutePath(), info.fileName()))
            parsed->collect(fromMs, toMs, parsed->color(), out);
    }

    // Forget files that went away, and calendars that can be read again (so
    // that losing them once more is reported).
    for (auto folder = m_folders.begin(); folder != m_folders.end();) {
        for (auto it = folder->begin(); it != folder->end();) {
            if (it->seenInLoad == m_load)
                ++it;
            else
                it = folder->erase(it);
        }
        if (folder->isEmpty())
            folder = m_folders.erase(folder);
        else
            ++folder;
    }
    m_unreadable = m_unreadableNow;

    // The same event can sit in two calendars (an invitation copied into both).
    QSet<QString> identifiers;
    for (CalendarEvent &event : out) {
        if (event.identifier.isEmpty())
            continue;
        const QString base = event.identifier;
        for (int n = 2; identifiers.contains(event.identifier); ++n)
            event.identifier = base + QStringLiteral("#%1").arg(n);
        identifiers.insert(event.identifier);
    }
    return out;
}

} // namespace talvo
