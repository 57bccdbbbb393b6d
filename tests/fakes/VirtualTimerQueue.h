#pragma once

#include "VirtualScheduler.h"
#include "platform/TimerQueue.h"

namespace talvo {

// A TimerQueue on the virtual clock: ticks run on the test's thread when the
// scheduler's time passes their deadline. Records how many timers were started.
class VirtualTimerQueue final : public TimerQueue
{
public:
    explicit VirtualTimerQueue(VirtualScheduler &scheduler) : m_scheduler(scheduler) {}

    TimerHandle every(Duration firstDelay, Duration interval, Task tick) override
    {
        ++startedCount;
        auto state = std::make_shared<TimerHandle::State>();
        auto repeating = std::make_shared<TimerHandle>();
        TimerHandle first = m_scheduler.after(firstDelay, nullptr, [this, repeating, interval, tick] {
            tick();
            *repeating = m_scheduler.every(interval, nullptr, tick);
        });
        state->onCancel = [first, repeating]() mutable {
            first.cancel();
            repeating->cancel();
        };
        return TimerHandle(state);
    }

    int startedCount = 0;

private:
    VirtualScheduler &m_scheduler;
};

} // namespace talvo
