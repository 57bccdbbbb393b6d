#include "ThreadTimerQueue.h"

#include <QTimer>

#include <atomic>

namespace talvo {

ThreadTimerQueue::ThreadTimerQueue(const QString &name, QThread::Priority priority)
{
    m_thread.setObjectName(name);
    auto *worker = new QObject;
    worker->moveToThread(&m_thread);
    m_worker = worker;
    QObject::connect(&m_thread, &QThread::finished, worker, &QObject::deleteLater);
    m_thread.start(priority);
}

ThreadTimerQueue::~ThreadTimerQueue()
{
    m_thread.quit();
    m_thread.wait();
}

TimerHandle ThreadTimerQueue::every(Duration firstDelay, Duration interval, Task tick)
{
    auto state = std::make_shared<TimerHandle::State>();
    // The handle's own flag belongs to the thread that cancels; the queue's
    // thread reads this one.
    auto stopped = std::make_shared<std::atomic<bool>>(false);
    auto timer = std::make_shared<QPointer<QTimer>>();
    QPointer<QObject> worker = m_worker;
    if (!worker)
        return TimerHandle(state);
    QMetaObject::invokeMethod(
        worker,
        [worker, timer, stopped, firstDelay, interval, tick = std::move(tick)] {
            if (*stopped)
                return;
            auto *t = new QTimer(worker);
            t->setTimerType(Qt::PreciseTimer);
            *timer = t;
            QObject::connect(t, &QTimer::timeout, t, [t, stopped, interval, tick] {
                if (*stopped)
                    return;
                if (t->interval() != int(interval.count()))
                    t->setInterval(interval);
                tick();
            });
            t->start(firstDelay);
        },
        Qt::QueuedConnection);
    state->onCancel = [worker, timer, stopped] {
        *stopped = true;
        if (!worker)
            return;
        QMetaObject::invokeMethod(
            worker,
            [timer] {
                if (QTimer *t = *timer)
                    t->deleteLater();
            },
            Qt::QueuedConnection);
    };
    return TimerHandle(state);
}

} // namespace talvo
