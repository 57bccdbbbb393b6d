#pragma once

#include "Scheduler.h"

#include <functional>
#include <memory>

namespace talvo {

// A queue for work that may block (scripts to other programs, file listings,
// decoding). Work runs off the main thread, one item at a time, in order.
// Results go back to the main thread through Scheduler::post().
class WorkQueue
{
public:
    using Work = std::function<void()>;
    virtual ~WorkQueue() = default;
    virtual void dispatch(Work work) = 0;
};

// Runs `work` on the queue and hands its result to `done` on the main thread,
// unless `context` has gone away by then.
template <typename Result>
void runOnQueue(WorkQueue &queue, Scheduler &scheduler, const QObject *context,
                std::function<Result()> work, std::function<void(Result)> done)
{
    // The guard is taken here, while the context certainly exists: by the time
    // the work ends the context may be gone, and a dangling pointer must not
    // reach the scheduler. The guard is only read on the main thread.
    QPointer<const QObject> guard(context);
    const bool hasContext = context != nullptr;
    queue.dispatch([&scheduler, guard, hasContext, work = std::move(work), done = std::move(done)]() mutable {
        auto result = std::make_shared<Result>(work());
        scheduler.post(nullptr, [guard, hasContext, result, done = std::move(done)] {
            if (hasContext && !guard)
                return;
            done(std::move(*result));
        });
    });
}

} // namespace talvo
