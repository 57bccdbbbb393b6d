#pragma once

#include "TimerQueue.h"

#include <QPointer>
#include <QString>
#include <QThread>

namespace talvo {

// The real TimerQueue: one thread with its own event loop and precise timers.
// The thread stops when the queue is destroyed; its timers stop with it.
class ThreadTimerQueue final : public TimerQueue
{
public:
    explicit ThreadTimerQueue(const QString &name, QThread::Priority priority = QThread::HighPriority);
    ~ThreadTimerQueue() override;

    ThreadTimerQueue(const ThreadTimerQueue &) = delete;
    ThreadTimerQueue &operator=(const ThreadTimerQueue &) = delete;

    TimerHandle every(Duration firstDelay, Duration interval, Task tick) override;

private:
    QThread m_thread;
    QPointer<QObject> m_worker; // lives on m_thread
};

} // namespace talvo
