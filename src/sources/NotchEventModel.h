#pragma once

#include <QColor>
#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace talvo {

struct CalendarEvent;

// One event of the selected day, as the calendar views show it. Two records
// are the same event when their ids match, whatever else they hold.
class NotchEventModel
{
    Q_GADGET
    QML_VALUE_TYPE(notchEvent)
    Q_PROPERTY(QString id MEMBER id)
    Q_PROPERTY(QString title MEMBER title)
    Q_PROPERTY(QDateTime start MEMBER start)
    Q_PROPERTY(QDateTime end MEMBER end)
    Q_PROPERTY(bool isAllDay MEMBER isAllDay)
    Q_PROPERTY(QColor calendarColor MEMBER calendarColor)
public:
    // Shown for an event without a title.
    static QString untitled();
    // For a calendar whose colour is missing or unreadable.
    static QColor defaultCalendarColor();

    // An event without an identifier gets a fresh UUID, so a list keyed by id
    // can still tell it apart.
    static NotchEventModel fromStore(const CalendarEvent &event);

    friend bool operator==(const NotchEventModel &a, const NotchEventModel &b) { return a.id == b.id; }
    friend bool operator!=(const NotchEventModel &a, const NotchEventModel &b) { return !(a == b); }
    // Every field equal: what a view would draw differently.
    bool sameContent(const NotchEventModel &other) const;

    QString id;
    QString title;
    QDateTime start;
    QDateTime end;
    bool isAllDay = false;
    QColor calendarColor;
};

} // namespace talvo

Q_DECLARE_METATYPE(talvo::NotchEventModel)
