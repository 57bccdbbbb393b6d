#include "PointerPoll.h"

#include "platform/Pointer.h"
#include "platform/TimerQueue.h"

#include <atomic>
#include <limits>
#include <mutex>
#include <optional>

namespace talvo {

struct PointerPoll::Shared
{
    std::mutex mutex;
    // The sample the main thread last acted on; empty when it must look again.
    std::optional<PointerSample> settled;
    // Bumped by recheck(), so that a tick running meanwhile cannot settle.
    quint64 generation = 0;
    bool pending = false;
    std::atomic<qint64> lastLookAt{std::numeric_limits<qint64>::min() / 4};
};

PointerPoll::PointerPoll(Scheduler &scheduler, TimerQueue &queue, const Pointer &pointer,
                         Scheduler::Duration interval)
    : m_scheduler(scheduler), m_queue(queue), m_pointer(pointer), m_interval(interval),
      m_shared(std::make_shared<Shared>())
{
}

PointerPoll::~PointerPoll()
{
    stop();
}

void PointerPoll::start(QObject *context, Tick tick)
{
    stop();
    // A fresh shared state: a tick of the previous run still waiting on the
    // event loop settles nothing here.
    m_shared = std::make_shared<Shared>();
    QPointer<QObject> guard(context);
    Scheduler *scheduler = &m_scheduler;
    std::shared_ptr<Shared> shared = m_shared;
    // Runs off the main thread and touches nothing of the main thread's but
    // the shared state.
    m_timer = m_pointer.sampleEvery(m_queue, m_interval, [=](std::optional<PointerSample> now) {
        shared->lastLookAt.store(scheduler->monotonicMs());
        quint64 generation = 0;
        {
            std::lock_guard lock(shared->mutex);
            if (shared->pending || (now && shared->settled == now))
                return;
            shared->pending = true;
            generation = shared->generation;
        }
        scheduler->post(nullptr, [guard, tick, shared, now, generation] {
            {
                std::lock_guard lock(shared->mutex);
                shared->pending = false;
            }
            if (!guard)
                return;
            const bool settled = tick();
            std::lock_guard lock(shared->mutex);
            if (settled && now && shared->generation == generation)
                shared->settled = now;
        });
    });
}

void PointerPoll::stop()
{
    m_timer.cancel();
    m_timer = {};
}

void PointerPoll::recheck()
{
    std::lock_guard lock(m_shared->mutex);
    ++m_shared->generation;
    m_shared->settled.reset();
}

qint64 PointerPoll::lastLookAt() const
{
    return m_shared->lastLookAt.load();
}

} // namespace talvo
