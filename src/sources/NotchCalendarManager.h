#pragma once

#include "NotchEventListModel.h"
#include "NotchEventModel.h"
#include "platform/Scheduler.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

namespace talvo {

class CalendarStore;
class Preferences;

// The calendar widget's data: the events of one selected day from the user's
// calendars, kept fresh by a 60 s refresh and by the store's change
// notification, and new events typed into the widget.
//
// Main thread only. Loading happens in the store, off the main thread, so
// `events` follows fetchEvents() a little later; answers to an older fetch
// that arrive after a newer one was started are dropped.
class NotchCalendarManager : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool authorizationGranted READ authorizationGranted NOTIFY authorizationGrantedChanged)
    Q_PROPERTY(QList<talvo::NotchEventModel> events READ events NOTIFY eventsChanged)
    Q_PROPERTY(talvo::NotchEventListModel *eventList READ eventList CONSTANT)
    Q_PROPERTY(QDateTime selectedDate READ selectedDate WRITE setSelectedDate NOTIFY selectedDateChanged)
public:
    // Reads the extra calendars from the preferences and follows their changes.
    NotchCalendarManager(CalendarStore &store, Preferences &preferences, Scheduler &scheduler,
                         QObject *parent = nullptr);
    ~NotchCalendarManager() override;

    // QML gets the instance the application built (see QmlInstances.h).
    static NotchCalendarManager *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    static constexpr Scheduler::Duration refreshInterval{60'000};

    bool authorizationGranted() const { return m_authorizationGranted; }
    const QList<NotchEventModel> &events() const { return m_eventList.events(); }
    NotchEventListModel *eventList() { return &m_eventList; }
    QDateTime selectedDate() const { return m_selectedDate; }
    // Views pass the start of a day; any instant selects the start of its day.
    void setSelectedDate(const QDateTime &date);

    // Selects the start of the current day (by the scheduler's clock, so views
    // need no clock of their own).
    Q_INVOKABLE void selectToday();
    // Asks for, or reacts to, access to the calendars.
    Q_INVOKABLE void requestAccess();
    // Reloads `events` for the selected day; does nothing without access.
    Q_INVOKABLE void fetchEvents();
    // Adds an event with the trimmed title at the hour and minute of `time` on
    // the day of `date`, lasting `durationMinutes`. True when it was saved; the
    // selected day then becomes that day and its events reload.
    Q_INVOKABLE bool addEvent(const QString &title, const QDateTime &date, const QDateTime &time,
                              int durationMinutes);

signals:
    void authorizationGrantedChanged();
    void eventsChanged();
    void selectedDateChanged();

private:
    void grantAndLoad();
    void setAuthorizationGranted(bool granted);
    void startRefreshTimer();
    void publish(const QList<NotchEventModel> &events);
    void applySources();

    CalendarStore &m_store;
    Preferences &m_preferences;
    Scheduler &m_scheduler;
    bool m_authorizationGranted = false;
    QDateTime m_selectedDate;
    NotchEventListModel m_eventList;
    TimerHandle m_refreshTimer;
    quint64 m_fetchGeneration = 0;
};

} // namespace talvo
