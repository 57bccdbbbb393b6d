#pragma once

#include "VirtualScheduler.h"
#include "platform/TimerQueue.h"

#include <QSet>

namespace talvo {

// A TimerQueue on the virtual clock: ticks run on the test's thread when the
// scheduler's time passes their deadline. Records how many timers were started;
// stallInterval() silences the timers of one interval, as a queue that stopped
// delivering them.
class VirtualTimerQueue final : public TimerQueue
{
public:
    explicit VirtualTimerQueue(VirtualScheduler &scheduler) : m_scheduler(scheduler) {}

    TimerHandle every(Duration firstDelay, Duration interval, Task tick) override
    {
        ++startedCount;
        auto state = std::make_shared<TimerHandle::State>();
        auto repeating = std::make_shared<TimerHandle>();
        auto guarded = [this, interval, tick] {
            if (!stalledIntervals.contains(interval.count()))
                tick();
        };
        TimerHandle first = m_scheduler.after(firstDelay, nullptr, [this, repeating, interval, guarded] {
            guarded();
            *repeating = m_scheduler.every(interval, nullptr, guarded);
        });
        state->onCancel = [first, repeating]() mutable {
            first.cancel();
            repeating->cancel();
        };
        return TimerHandle(state);
    }

    void stallInterval(Duration interval) { stalledIntervals.insert(interval.count()); }

    int startedCount = 0;
    QSet<qint64> stalledIntervals;

private:
    VirtualScheduler &m_scheduler;
};

} // namespace talvo
