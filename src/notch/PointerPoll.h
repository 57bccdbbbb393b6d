#pragma once

#include "platform/Scheduler.h"

#include <QPointer>

#include <functional>
#include <memory>

namespace talvo {

class Pointer;
class TimerQueue;

// The notch's pointer poll. Every interval it looks at the pointer off the
// main thread (Pointer::sampleEvery()) and hands a tick to the main thread only when there is
// something to decide: the pointer moved or its buttons changed since the
// last settled tick, or the main thread asked for a fresh look (recheck()),
// as after the notch's outline changed under a still pointer. An idle notch
// under a still pointer thus never wakes the main thread.
//
// A tick that cannot decide (its hover check was throttled, say) returns
// false and the next look hands over again, whatever the pointer does. When
// the pointer cannot be sampled off the main thread, every look hands over.
//
// Main thread only, except where noted.
class PointerPoll
{
public:
    // Runs on the main thread; true when it acted on the pointer as it is.
    using Tick = std::function<bool()>;

    PointerPoll(Scheduler &scheduler, TimerQueue &queue, const Pointer &pointer, Scheduler::Duration interval);
    ~PointerPoll();

    PointerPoll(const PointerPoll &) = delete;
    PointerPoll &operator=(const PointerPoll &) = delete;

    // (Re)starts looking; the first look is immediate. Ticks are skipped once
    // `context` is gone. At most one tick waits on the event loop at a time,
    // so a busy main thread gets one tick, not a backlog.
    void start(QObject *context, Tick tick);
    void stop();
    bool isActive() const { return m_timer.isActive(); }

    // The next look hands a tick over whatever the pointer does.
    void recheck();
    // Monotonic milliseconds of the latest look, handed over or not; any
    // thread. The distant past before the first look.
    qint64 lastLookAt() const;

private:
    struct Shared;

    Scheduler &m_scheduler;
    TimerQueue &m_queue;
    const Pointer &m_pointer;
    Scheduler::Duration m_interval;
    std::shared_ptr<Shared> m_shared;
    TimerHandle m_timer;
};

} // namespace talvo
