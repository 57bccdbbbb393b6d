#pragma once

#include <QDateTime>
#include <QPointer>

#include <chrono>
#include <functional>
#include <memory>

namespace talvo {

// A handle to delayed or repeating work. Copies share the same work; cancelling
// any copy stops it. A default-constructed handle refers to nothing.
class TimerHandle
{
public:
    struct State
    {
        bool cancelled = false;
        std::function<void()> onCancel;
    };

    TimerHandle() = default;
    explicit TimerHandle(std::shared_ptr<State> state) : m_state(std::move(state)) {}

    void cancel()
    {
        if (!m_state || m_state->cancelled)
            return;
        m_state->cancelled = true;
        if (auto onCancel = std::exchange(m_state->onCancel, {}))
            onCancel();
    }
    bool isActive() const { return m_state && !m_state->cancelled; }

private:
    std::shared_ptr<State> m_state;
};

// All timing of the program goes through this service: event-loop posts, one-shot
// delays, repeating intervals and the clock. Work runs on the main thread. Every
// call takes a context object; work whose context has been destroyed is skipped,
// so a callback never outlives its owner.
//
// post() may be called from any thread; the other calls from the main thread
// only. From another thread, pass a null context (or one that is certain to
// outlive the call) and guard the work yourself, as runOnQueue() does: a
// context that may be deleted concurrently cannot be checked off its thread.
class Scheduler
{
public:
    using Duration = std::chrono::milliseconds;
    using Task = std::function<void()>;

    virtual ~Scheduler() = default;

    // Runs the task on a later turn of the event loop, after work already posted.
    virtual void post(const QObject *context, Task task) = 0;
    // Runs the task once, `delay` from now.
    virtual TimerHandle after(Duration delay, const QObject *context, Task task) = 0;
    // Runs the task every `interval` until cancelled; the first run is one interval from now.
    virtual TimerHandle every(Duration interval, const QObject *context, Task task) = 0;
    // Wall-clock time.
    virtual QDateTime now() const = 0;
    // Monotonic milliseconds since an arbitrary origin; for measuring spans.
    virtual qint64 monotonicMs() const = 0;
};

} // namespace talvo
