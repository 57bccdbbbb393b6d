#include "Pointer.h"

#include "TimerQueue.h"

namespace talvo {

TimerHandle Pointer::sampleEvery(TimerQueue &queue, Scheduler::Duration interval, Look look) const
{
    return queue.every(Scheduler::Duration(0), interval, [this, look = std::move(look)] { look(sample()); });
}

} // namespace talvo
