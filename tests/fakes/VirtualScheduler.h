#pragma once

#include "platform/Scheduler.h"

#include <QMutex>

#include <map>

namespace talvo {

// Scheduler with virtual time for tests. Nothing runs until the test calls
// advance() (or runPending() for posted work). Work fires in time order, work
// due at the same moment in the order it was scheduled, and work scheduled by
// fired work runs in the same advance() when it falls due inside it.
// post() is thread-safe so that worker queues can hand results back.
class VirtualScheduler final : public Scheduler
{
public:
    explicit VirtualScheduler(const QDateTime &start = QDateTime(QDate(2026, 3, 2), QTime(9, 0)));

    void post(const QObject *context, Task task) override;
    TimerHandle after(Duration delay, const QObject *context, Task task) override;
    TimerHandle every(Duration interval, const QObject *context, Task task) override;
    QDateTime now() const override;
    qint64 monotonicMs() const override;

    // Moves time forward by `ms`, running everything that falls due.
    void advance(qint64 ms);
    void advance(Duration d) { advance(d.count()); }
    // Runs what is due now (posted work and zero delays) without moving time.
    void runPending() { advance(0); }
    // Sets the wall clock without running anything (a jump of the system clock).
    void setNow(const QDateTime &now);
    // Number of timers and posts still waiting.
    int pendingCount() const;

private:
    struct Entry
    {
        qint64 interval = 0; // 0: once
        QPointer<const QObject> guard;
        bool hasContext = false;
        Task task;
        std::shared_ptr<TimerHandle::State> state;
    };
    TimerHandle schedule(qint64 due, qint64 interval, const QObject *context, Task task);

    mutable QMutex m_mutex;
    std::multimap<std::pair<qint64, quint64>, Entry> m_queue; // (due, sequence)
    quint64 m_sequence = 0;
    qint64 m_elapsed = 0;
    QDateTime m_start;
};

} // namespace talvo
