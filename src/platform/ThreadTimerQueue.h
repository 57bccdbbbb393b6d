#pragma once

#include "TimerQueue.h"

#include <QString>

#include <memory>
#include <thread>

namespace talvo {

// The real TimerQueue: one thread that sleeps until the next deadline. It runs
// no event loop, so a tick costs one wake-up and nothing else. The thread
// stops when the queue is destroyed; its timers stop with it.
class ThreadTimerQueue final : public TimerQueue
{
public:
    explicit ThreadTimerQueue(const QString &name);
    ~ThreadTimerQueue() override;

    ThreadTimerQueue(const ThreadTimerQueue &) = delete;
    ThreadTimerQueue &operator=(const ThreadTimerQueue &) = delete;

    TimerHandle every(Duration firstDelay, Duration interval, Task tick) override;

private:
    struct Shared;
    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
};

} // namespace talvo
