#pragma once

#include "Scheduler.h"

namespace talvo {

// A serial queue with its own thread that hosts repeating timers, so that they
// keep their pace while the main thread is busy. Ticks run on the queue's
// thread: they must touch no main-thread state and hand over with
// Scheduler::post().
class TimerQueue
{
public:
    using Duration = Scheduler::Duration;
    using Task = Scheduler::Task;

    virtual ~TimerQueue() = default;

    // Runs `tick` first after `firstDelay` (0: at once), then every `interval`,
    // until the handle is cancelled. May be called from any thread. Once
    // cancel() returns (on another thread than the queue's), no tick of the
    // timer runs any more, not even one that had already begun.
    virtual TimerHandle every(Duration firstDelay, Duration interval, Task tick) = 0;
};

} // namespace talvo
