#pragma once

#include "WeekDay.h"
#include "sources/NotchEventModel.h"

#include <QDateTime>
#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace talvo {

// What the calendar card shows around the selected day: the month's short
// name, the week strip centred on today with the selected cell, the selected
// day's first events with their start times, or the line for a day without.
//
//     CalendarCardModel {
//         now: NotchViewModel.currentTime
//         selectedDate: NotchCalendarManager.selectedDate; events: NotchCalendarManager.events
//     }
//
// Main thread only. The strip follows `daysChanged` (a new day), the rows
// `eventsChanged`, every other output `changed`.
class CalendarCardModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QDateTime now READ now WRITE setNow NOTIFY changed)
    Q_PROPERTY(QDateTime selectedDate READ selectedDate WRITE setSelectedDate NOTIFY changed)
    Q_PROPERTY(QList<talvo::NotchEventModel> events READ events WRITE setEvents NOTIFY eventsChanged)

    Q_PROPERTY(QVariantList days READ daysVariant NOTIFY daysChanged)
    Q_PROPERTY(int selectedIndex READ selectedIndex NOTIFY changed)
    Q_PROPERTY(QString monthText READ monthText NOTIFY changed)
    Q_PROPERTY(QString emptyText READ emptyText NOTIFY changed)
    // The rows of the event area: the first kMaxShownEvents events, each
    // {id, title, color, startText}.
    Q_PROPERTY(QVariantList shownEvents READ shownEvents NOTIFY eventsChanged)
    Q_PROPERTY(bool hasEvents READ hasEvents NOTIFY eventsChanged)

public:
    static constexpr int kMaxShownEvents = 2;

    // "today", "tomorrow", "yesterday" or the weekday's full name, in the
    // line shown for a day without events.
    static QString emptyTextFor(const QDateTime &selected, const QDateTime &now, const QLocale &locale);
    // The start in the locale's short time without seconds; nothing for an
    // all-day event.
    static QString startTextFor(const QDateTime &start, bool isAllDay, const QLocale &locale);

    using QObject::QObject;

    QDateTime now() const { return m_now; }
    void setNow(const QDateTime &now);
    QDateTime selectedDate() const { return m_selectedDate; }
    void setSelectedDate(const QDateTime &date);

    QList<NotchEventModel> events() const { return m_events; }
    void setEvents(const QList<NotchEventModel> &events);
    QVariantList shownEvents() const;
    bool hasEvents() const { return !m_events.isEmpty(); }

    QList<WeekDay> days() const { return m_days; }
    QVariantList daysVariant() const;
    int selectedIndex() const;
    QString monthText() const;
    QString emptyText() const { return emptyTextFor(m_selectedDate, m_now, QLocale()); }

    Q_INVOKABLE QString startText(const QDateTime &start, bool isAllDay) const
    {
        return startTextFor(start, isAllDay, QLocale());
    }
    Q_INVOKABLE static bool isSameDay(const QDateTime &a, const QDateTime &b);

signals:
    void changed();
    void daysChanged();
    void eventsChanged();

private:
    QDateTime m_now;
    QDateTime m_selectedDate;
    QList<WeekDay> m_days;
    QList<NotchEventModel> m_events;
};

} // namespace talvo
