#pragma once

#include <QColor>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace talvo {

// One occurrence of an event as the calendar store holds it. A recurring event
// yields one of these per occurrence.
struct CalendarEvent
{
    // Unique within one answer of the store; empty when the store has none.
    QString identifier;
    // Empty when the event has no title.
    QString title;
    QDateTime start;
    QDateTime end;
    bool isAllDay = false;
    // The colour of the event's calendar; invalid when the calendar has none
    // or its colour cannot be read.
    QColor calendarColor;
};

// A new event to be written into the default calendar for new events.
struct NewCalendarEvent
{
    QString title;
    QDateTime start;
    QDateTime end;
};

// Access to events, numbered as the stores of other platforms number it.
enum class CalendarAuthorization {
    NotDetermined = 0,
    Restricted = 1,
    Denied = 2,
    FullAccess = 3,
    WriteOnly = 4,
};

// The user's calendars: reading the events of a span of time, writing new
// events, and telling when the calendars changed.
//
// Main thread only; callbacks run on the main thread, and not at all once their
// context object is gone. Loading may run elsewhere, so answers arrive later.
class CalendarStore : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    using EventsCallback = std::function<void(QList<CalendarEvent>)>;

    // The calendars beyond the store's own: folders or files, as the user
    // listed them. Takes effect from the next load.
    virtual void setSources(const QStringList &sources) = 0;

    // Decided now, from the calendars as they are.
    virtual CalendarAuthorization authorizationStatus() const = 0;

    // Asks the user for full access; `done` runs once the question is settled,
    // whatever the answer (read authorizationStatus() afterwards).
    virtual void requestFullAccess(const QObject *context, std::function<void()> done) = 0;

    // Lets the user pick another calendar folder (the store's access settings).
    // `chosen` gets its path, and never runs when the user cancels.
    virtual void chooseCalendarFolder(const QObject *context, std::function<void(QString)> chosen) = 0;

    // The events of every calendar that overlap [from, to): they start before
    // `to` and end after `from` (or, lasting no time, start within the span).
    // The list is in the store's order: calendar by calendar, then as stored.
    // Calendars that cannot be read are left out and logged.
    virtual void loadEvents(const QDateTime &from, const QDateTime &to, const QObject *context,
                            EventsCallback done) = 0;

    // Writes a new event into the default calendar for new events. On failure
    // `error` gets the reason and nothing is left behind.
    virtual bool saveEvent(const NewCalendarEvent &event, QString *error) = 0;

signals:
    // The calendars changed (also through other programs). Bursts of changes
    // are reported once.
    void changed();
};

} // namespace talvo
