#include "VirtualScheduler.h"

namespace talvo {

VirtualScheduler::VirtualScheduler(const QDateTime &start) : m_start(start) {}

TimerHandle VirtualScheduler::schedule(qint64 due, qint64 interval, const QObject *context, Task task)
{
    auto state = std::make_shared<TimerHandle::State>();
    QMutexLocker lock(&m_mutex);
    m_queue.emplace(std::pair{due, m_sequence++},
                    Entry{interval, QPointer<const QObject>(context), context != nullptr, std::move(task), state});
    return TimerHandle(state);
}

void VirtualScheduler::post(const QObject *context, Task task)
{
    qint64 due = 0;
    {
        QMutexLocker lock(&m_mutex);
        due = m_elapsed;
    }
    schedule(due, 0, context, std::move(task));
}

TimerHandle VirtualScheduler::after(Duration delay, const QObject *context, Task task)
{
    return schedule(m_elapsed + std::max<qint64>(0, delay.count()), 0, context, std::move(task));
}

TimerHandle VirtualScheduler::every(Duration interval, const QObject *context, Task task)
{
    const qint64 step = std::max<qint64>(1, interval.count());
    return schedule(m_elapsed + step, step, context, std::move(task));
}

QDateTime VirtualScheduler::now() const
{
    QMutexLocker lock(&m_mutex);
    return m_start.addMSecs(m_elapsed);
}

qint64 VirtualScheduler::monotonicMs() const
{
    QMutexLocker lock(&m_mutex);
    return m_elapsed;
}

void VirtualScheduler::advance(qint64 ms)
{
    qint64 target = 0;
    {
        QMutexLocker lock(&m_mutex);
        target = m_elapsed + std::max<qint64>(0, ms);
    }
    for (;;) {
        Entry entry;
        {
            QMutexLocker lock(&m_mutex);
            auto first = m_queue.begin();
            if (first == m_queue.end() || first->first.first > target)
                break;
            m_elapsed = std::max(m_elapsed, first->first.first);
            entry = std::move(first->second);
            m_queue.erase(first);
            if (entry.state->cancelled)
                continue;
            if (entry.hasContext && !entry.guard) {
                entry.state->cancelled = true;
                continue;
            }
            if (entry.interval > 0) {
                // Re-queue before running, so the task may cancel its own handle.
                m_queue.emplace(std::pair{m_elapsed + entry.interval, m_sequence++}, entry);
            } else {
                entry.state->cancelled = true;
            }
        }
        entry.task();
    }
    QMutexLocker lock(&m_mutex);
    m_elapsed = target;
}

void VirtualScheduler::setNow(const QDateTime &now)
{
    QMutexLocker lock(&m_mutex);
    m_start = now.addMSecs(-m_elapsed);
}

int VirtualScheduler::pendingCount() const
{
    QMutexLocker lock(&m_mutex);
    int count = 0;
    for (const auto &[key, entry] : m_queue) {
        if (!entry.state->cancelled)
            ++count;
    }
    return count;
}

} // namespace talvo
