#pragma once

#include "platform/CalendarStore.h"
#include "platform/Scheduler.h"

#include <QPointer>

namespace talvo {

// A calendar store in memory. Records what it was asked; answers loads on a
// later turn of the scheduler (or, with holdLoads, when the test says so) with
// the events that overlap the span, in the order they were added.
class FakeCalendarStore final : public CalendarStore
{
    Q_OBJECT
public:
    explicit FakeCalendarStore(Scheduler &scheduler, QObject *parent = nullptr);

    void setSources(const QStringList &sources) override { this->sources = sources; }
    CalendarAuthorization authorizationStatus() const override { return status; }
    void requestFullAccess(const QObject *context, std::function<void()> done) override;
    void chooseCalendarFolder(const QObject *context, std::function<void(QString)> chosen) override;
    void loadEvents(const QDateTime &from, const QDateTime &to, const QObject *context,
                    EventsCallback done) override;
    bool saveEvent(const NewCalendarEvent &event, QString *error) override;

    // Settles the pending access request: the status becomes `newStatus`.
    void answerAccessRequest(CalendarAuthorization newStatus);
    // Picks a folder in the pending chooser.
    void chooseFolder(const QString &folder);
    // Answers the held load at `index` with what the store holds now.
    void answerHeldLoad(int index = 0);
    // Plays a change made by another program.
    void changeOutside() { emit changed(); }

    CalendarAuthorization status = CalendarAuthorization::FullAccess;
    QList<CalendarEvent> events;
    QStringList sources;
    bool holdLoads = false;
    // Saving fails (with this error) while set.
    QString saveError;

    QList<NewCalendarEvent> saved;
    QList<std::pair<QDateTime, QDateTime>> loadSpans;
    int accessRequests = 0;
    int folderChoosers = 0;

private:
    struct PendingLoad
    {
        QDateTime from;
        QDateTime to;
        QPointer<const QObject> context;
        EventsCallback done;
    };
    QList<CalendarEvent> overlapping(const QDateTime &from, const QDateTime &to) const;

    Scheduler &m_scheduler;
    QList<PendingLoad> m_heldLoads;
    QPointer<const QObject> m_accessContext;
    std::function<void()> m_accessDone;
    QPointer<const QObject> m_chooserContext;
    std::function<void(QString)> m_chosen;
};

} // namespace talvo
