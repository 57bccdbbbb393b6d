#include "FakeCalendarStore.h"

namespace talvo {

FakeCalendarStore::FakeCalendarStore(Scheduler &scheduler, QObject *parent)
    : CalendarStore(parent), m_scheduler(scheduler)
{
}

void FakeCalendarStore::requestFullAccess(const QObject *context, std::function<void()> done)
{
    ++accessRequests;
    m_accessContext = context;
    m_accessDone = std::move(done);
}

void FakeCalendarStore::answerAccessRequest(CalendarAuthorization newStatus)
{
    status = newStatus;
    if (auto done = std::exchange(m_accessDone, {}); done && m_accessContext)
        done();
}

void FakeCalendarStore::chooseCalendarFolder(const QObject *context, std::function<void(QString)> chosen)
{
    ++folderChoosers;
    m_chooserContext = context;
    m_chosen = std::move(chosen);
}

void FakeCalendarStore::chooseFolder(const QString &folder)
{
    if (auto chosen = std::exchange(m_chosen, {}); chosen && m_chooserContext)
        chosen(folder);
}

QList<CalendarEvent> FakeCalendarStore::overlapping(const QDateTime &from, const QDateTime &to) const
{
    QList<CalendarEvent> result;
    for (const CalendarEvent &event : events) {
        const bool overlaps = event.start < to && (event.end > from || event.start >= from);
        if (overlaps)
            result.append(event);
    }
    return result;
}

void FakeCalendarStore::loadEvents(const QDateTime &from, const QDateTime &to, const QObject *context,
                                   EventsCallback done)
{
    loadSpans.append({from, to});
    if (holdLoads) {
        m_heldLoads.append({from, to, context, std::move(done)});
        return;
    }
    m_scheduler.post(context, [done = std::move(done), answer = overlapping(from, to)] { done(answer); });
}

void FakeCalendarStore::answerHeldLoad(int index)
{
    PendingLoad load = m_heldLoads.takeAt(index);
    if (load.context)
        load.done(overlapping(load.from, load.to));
}

bool FakeCalendarStore::saveEvent(const NewCalendarEvent &event, QString *error)
{
    if (!saveError.isEmpty()) {
        if (error)
            *error = saveError;
        return false;
    }
    saved.append(event);
    events.append(CalendarEvent{QStringLiteral("saved-%1").arg(saved.size()), event.title, event.start, event.end,
                                false, QColor()});
    return true;
}

} // namespace talvo
