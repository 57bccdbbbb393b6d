#include "ThreadTimerQueue.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

#include <pthread.h>

namespace talvo {

namespace {

using Clock = std::chrono::steady_clock;

struct Timer
{
    Clock::time_point due;
    Clock::duration interval;
    TimerQueue::Task tick;
    // Set by the cancelling thread, read by the queue's thread.
    std::atomic<bool> stopped{false};
    // Held by the queue's thread while the tick runs.
    std::mutex running;
};

} // namespace

// Lives as long as the queue or any of its timers' handles, so that a handle
// cancelled after the queue is gone touches nothing freed.
struct ThreadTimerQueue::Shared
{
    std::mutex mutex;
    std::condition_variable wake;
    std::vector<std::shared_ptr<Timer>> timers;
    bool quit = false;

    void run()
    {
        std::unique_lock lock(mutex);
        while (!quit) {
            std::erase_if(timers, [](const auto &timer) { return timer->stopped.load(); });
            if (timers.empty()) {
                wake.wait(lock);
                continue;
            }
            const auto next = std::min_element(timers.begin(), timers.end(),
                                               [](const auto &a, const auto &b) { return a->due < b->due; });
            const Clock::time_point now = Clock::now();
            if (now < (*next)->due) {
                wake.wait_until(lock, (*next)->due);
                continue;
            }
            std::shared_ptr<Timer> timer = *next;
            // A late tick does not make up for the ones it missed.
            timer->due = std::max(timer->due + timer->interval, now);
            lock.unlock();
            {
                std::lock_guard tickLock(timer->running);
                if (!timer->stopped)
                    timer->tick();
            }
            lock.lock();
        }
    }
};

ThreadTimerQueue::ThreadTimerQueue(const QString &name) : m_shared(std::make_shared<Shared>())
{
    m_thread = std::thread([shared = m_shared] { shared->run(); });
    // Linux keeps 15 characters of a thread's name.
    pthread_setname_np(m_thread.native_handle(), name.left(15).toUtf8().constData());
}

ThreadTimerQueue::~ThreadTimerQueue()
{
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->quit = true;
    }
    m_shared->wake.notify_all();
    m_thread.join();
}

TimerHandle ThreadTimerQueue::every(Duration firstDelay, Duration interval, Task tick)
{
    auto timer = std::make_shared<Timer>();
    timer->due = Clock::now() + firstDelay;
    timer->interval = std::max<Clock::duration>(interval, std::chrono::milliseconds(1));
    timer->tick = std::move(tick);
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->timers.push_back(timer);
    }
    m_shared->wake.notify_all();

    auto state = std::make_shared<TimerHandle::State>();
    std::weak_ptr<Shared> shared = m_shared;
    std::weak_ptr<Timer> weakTimer = timer;
    const std::thread::id queueThread = m_thread.get_id();
    state->onCancel = [shared, weakTimer, queueThread] {
        if (auto t = weakTimer.lock()) {
            t->stopped = true;
            // A tick under way finishes before cancel() returns, so that the
            // caller may free what the tick uses. (A tick cancelling its own
            // timer must not wait for itself.)
            if (std::this_thread::get_id() != queueThread) {
                std::lock_guard wait(t->running);
            }
        }
        if (auto s = shared.lock())
            s->wake.notify_all();
    };
    return TimerHandle(state);
}

} // namespace talvo
