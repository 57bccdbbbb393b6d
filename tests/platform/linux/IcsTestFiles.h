#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <QtMessageHandler>

// Helpers for tests that put real iCalendar files on disk.
namespace icstest {

inline QByteArray calendar(const QByteArray &body, const QByteArray &header = {})
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tests//EN\r\n" + header + body + "END:VCALENDAR\r\n";
}

// One VEVENT; `lines` are its other properties, one per line.
inline QByteArray vevent(const QByteArray &uid, const QByteArray &summary, const QByteArray &lines)
{
    QByteArray text = "BEGIN:VEVENT\r\nUID:" + uid + "\r\nDTSTAMP:20260101T000000Z\r\n";
    if (!summary.isNull())
        text += "SUMMARY:" + summary + "\r\n";
    for (const QByteArray &line : lines.split('\n')) {
        if (!line.trimmed().isEmpty())
            text += line.trimmed() + "\r\n";
    }
    return text + "END:VEVENT\r\n";
}

inline QByteArray newYorkZone(const QByteArray &tzid = "America/New_York")
{
    return "BEGIN:VTIMEZONE\r\nTZID:" + tzid + "\r\n"
           "BEGIN:DAYLIGHT\r\nTZOFFSETFROM:-0500\r\nTZOFFSETTO:-0400\r\nTZNAME:EDT\r\n"
           "DTSTART:19700308T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\r\nEND:DAYLIGHT\r\n"
           "BEGIN:STANDARD\r\nTZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\nTZNAME:EST\r\n"
           "DTSTART:19701101T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\r\nEND:STANDARD\r\n"
           "END:VTIMEZONE\r\n";
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Collects the program's log lines (info messages) while it lives.
class LogCapture
{
public:
    LogCapture() : m_previous(qInstallMessageHandler(&LogCapture::handle)) { s_lines = &lines; }
    ~LogCapture()
    {
        qInstallMessageHandler(m_previous);
        s_lines = nullptr;
    }
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    int count(const QString &part) const
    {
        int n = 0;
        for (const QString &line : lines)
            n += line.contains(part) ? 1 : 0;
        return n;
    }

    QStringList lines;

private:
    static void handle(QtMsgType type, const QMessageLogContext &, const QString &message)
    {
        if (type == QtInfoMsg && s_lines)
            s_lines->append(message);
    }
    static inline QStringList *s_lines = nullptr;
    QtMessageHandler m_previous;
};

} // namespace icstest
