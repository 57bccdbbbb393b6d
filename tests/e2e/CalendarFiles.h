#pragma once

#include <QDateTime>
#include <QString>

namespace talvo::e2e {

// One event of an hour as a calendar file of its own, as a vdir holds it.
inline QByteArray icsEvent(const QString &uid, const QString &title, const QDateTime &start)
{
    const QString format = QStringLiteral("yyyyMMdd'T'HHmmss");
    return QStringLiteral("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\nBEGIN:VEVENT\r\nUID:%1\r\n"
                          "DTSTAMP:20260101T000000Z\r\nDTSTART:%2\r\nDTEND:%3\r\nSUMMARY:%4\r\n"
                          "END:VEVENT\r\nEND:VCALENDAR\r\n")
        .arg(uid, start.toString(format), start.addSecs(3600).toString(format), title)
        .toUtf8();
}

} // namespace talvo::e2e
