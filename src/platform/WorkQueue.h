#pragma once

#include "Scheduler.h"

#include <functional>
#include <memory>

namespace talvo {

// A queue for work that may block (calls to other programs, file listings,
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
    // The guard is made here, on the calling thread, where the context is
    // known to be alive; the worker only carries it. Building it on the
    // worker could touch a context deleted in the meantime.
    queue.dispatch([&scheduler, guard = QPointer<const QObject>(context), hasContext = context != nullptr,
                    work = std::move(work), done = std::move(done)]() mutable {
        auto result = std::make_shared<Result>(work());
        scheduler.post(nullptr, [guard, hasContext, result, done = std::move(done)] {
            if (hasContext && !guard)
                return;
            done(std::move(*result));
        });
    });
}

} // namespace talvo
