#include "NotchCalendarManager.h"

#include "CalendarTime.h"
#include "platform/CalendarStore.h"
#include "platform/Log.h"
#include "preferences/Preferences.h"
#include "platform/QmlInstances.h"

#include <algorithm>

namespace talvo {

static const QString kAddEventFailed = QStringLiteral("addEvent failed: ");

NotchCalendarManager::NotchCalendarManager(CalendarStore &store, Preferences &preferences, Scheduler &scheduler,
                                           QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_preferences(preferences)
    , m_scheduler(scheduler)
    , m_selectedDate(startOfLocalDay(scheduler.now()))
{
    applySources();
    connect(&m_preferences, &Preferences::keyChanged, this, [this](const QString &key) {
        if (key != QLatin1String(PrefKey::calendarSources.name))
            return;
        applySources();
        fetchEvents();
    });

    if (m_store.authorizationStatus() == CalendarAuthorization::FullAccess)
        grantAndLoad();

    // The store reports from its own callbacks; reload on a later turn.
    connect(&m_store, &CalendarStore::changed, this,
            [this] { m_scheduler.post(this, [this] { fetchEvents(); }); });
}

NotchCalendarManager::~NotchCalendarManager()
{
    m_refreshTimer.cancel();
}

NotchCalendarManager *NotchCalendarManager::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<NotchCalendarManager>(qmlEngine);
}

void NotchCalendarManager::setSelectedDate(const QDateTime &date)
{
    const QDateTime day = startOfLocalDay(date);
    if (!day.isValid() || day == m_selectedDate)
        return;
    m_selectedDate = day;
    emit selectedDateChanged();
}

void NotchCalendarManager::selectToday()
{
    setSelectedDate(m_scheduler.now());
}

void NotchCalendarManager::applySources()
{
    m_store.setSources(m_preferences.value(PrefKey::calendarSources).value_or(QStringList{}));
}

void NotchCalendarManager::setAuthorizationGranted(bool granted)
{
    if (granted == m_authorizationGranted)
        return;
    m_authorizationGranted = granted;
    emit authorizationGrantedChanged();
}

void NotchCalendarManager::grantAndLoad()
{
    setAuthorizationGranted(true);
    fetchEvents();
    startRefreshTimer();
}

void NotchCalendarManager::requestAccess()
{
    switch (m_store.authorizationStatus()) {
    case CalendarAuthorization::Restricted:
    case CalendarAuthorization::Denied:
        // The store's access settings: here the user adds a calendar folder.
        m_store.chooseCalendarFolder(this, [this](const QString &folder) {
            QStringList sources = m_preferences.value(PrefKey::calendarSources).value_or(QStringList{});
            if (folder.isEmpty() || sources.contains(folder))
                return;
            sources.append(folder);
            m_preferences.setObject(sources, QString::fromLatin1(PrefKey::calendarSources.name));
        });
        return;
    case CalendarAuthorization::FullAccess:
        if (!m_authorizationGranted)
            grantAndLoad();
        return;
    case CalendarAuthorization::NotDetermined:
    case CalendarAuthorization::WriteOnly:
        break;
    }
    m_store.requestFullAccess(this, [this] {
        const bool granted = m_store.authorizationStatus() == CalendarAuthorization::FullAccess;
        setAuthorizationGranted(granted);
        if (granted) {
            fetchEvents();
            startRefreshTimer();
        }
    });
}

void NotchCalendarManager::startRefreshTimer()
{
    m_refreshTimer.cancel();
    m_refreshTimer = m_scheduler.every(refreshInterval, this, [this] { fetchEvents(); });
}

void NotchCalendarManager::fetchEvents()
{
    if (!m_authorizationGranted)
        return;
    const QDateTime from = m_selectedDate;
    const QDateTime to = from.addDays(1);
    if (!to.isValid())
        return;
    const quint64 generation = ++m_fetchGeneration;
    m_store.loadEvents(from, to, this, [this, generation](QList<CalendarEvent> loaded) {
        if (generation != m_fetchGeneration)
            return;
        std::stable_sort(loaded.begin(), loaded.end(),
                         [](const CalendarEvent &a, const CalendarEvent &b) { return a.start < b.start; });
        QList<NotchEventModel> events;
        events.reserve(loaded.size());
        for (const CalendarEvent &event : std::as_const(loaded))
            events.append(NotchEventModel::fromStore(event));
        publish(events);
    });
}

void NotchCalendarManager::publish(const QList<NotchEventModel> &events)
{
    const QList<NotchEventModel> &current = m_eventList.events();
    const bool same = std::equal(current.begin(), current.end(), events.begin(), events.end(),
                                 [](const NotchEventModel &a, const NotchEventModel &b) { return a.sameContent(b); });
    if (same)
        return;
    m_eventList.setEvents(events);
    emit eventsChanged();
}

bool NotchCalendarManager::addEvent(const QString &title, const QDateTime &date, const QDateTime &time,
                                    int durationMinutes)
{
    if (!m_authorizationGranted)
        return false;
    const QString trimmed = title.trimmed();
    if (trimmed.isEmpty())
        return false;
    const QTime clock = time.isValid() ? time.toLocalTime().time() : QTime();
    const int hour = clock.isValid() ? clock.hour() : 9;
    const int minute = clock.isValid() ? clock.minute() : 0;
    const QDate day = date.isValid() ? date.toLocalTime().date() : QDate();
    const std::optional<QDateTime> start = localDateTimeAt(day, hour, minute);
    if (!start)
        return false;
    const QDateTime end = start->addSecs(qint64(durationMinutes) * 60);
    if (!end.isValid())
        return false;

    QString error;
    if (!m_store.saveEvent(NewCalendarEvent{trimmed, *start, end}, &error)) {
        qCWarning(lcCalendar).noquote() << kAddEventFailed + error;
        return false;
    }
    setSelectedDate(day.startOfDay(Qt::LocalTime));
    fetchEvents();
    return true;
}

} // namespace talvo
