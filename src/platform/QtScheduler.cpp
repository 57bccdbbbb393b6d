#include "QtScheduler.h"

#include <QTimer>

namespace talvo {

QtScheduler::QtScheduler(QObject *parent) : QObject(parent)
{
    m_clock.start();
}

void QtScheduler::post(const QObject *context, Task task)
{
    // The guard is read on the main thread, where the context lives.
    QPointer<const QObject> guard(context);
    QMetaObject::invokeMethod(
        this,
        [guard, hasContext = context != nullptr, task = std::move(task)] {
            if (hasContext && !guard)
                return;
            task();
        },
        Qt::QueuedConnection);
}

TimerHandle QtScheduler::after(Duration delay, const QObject *context, Task task)
{
    return start(delay, false, context, std::move(task));
}

TimerHandle QtScheduler::every(Duration interval, const QObject *context, Task task)
{
    return start(interval, true, context, std::move(task));
}

TimerHandle QtScheduler::start(Duration interval, bool repeat, const QObject *context, Task task)
{
    auto state = std::make_shared<TimerHandle::State>();
    auto *timer = new QTimer(this);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setSingleShot(!repeat);
    timer->setInterval(interval);
    QPointer<QTimer> timerGuard(timer);
    QPointer<const QObject> guard(context);
    const bool hasContext = context != nullptr;
    connect(timer, &QTimer::timeout, this, [=, this] {
        if (state->cancelled)
            return;
        if (hasContext && !guard) {
            TimerHandle(state).cancel();
            return;
        }
        if (!repeat) {
            state->cancelled = true;
            state->onCancel = {};
            timer->deleteLater();
        }
        task();
    });
    state->onCancel = [timerGuard] {
        if (timerGuard) {
            timerGuard->stop();
            timerGuard->deleteLater();
        }
    };
    timer->start();
    return TimerHandle(state);
}

QDateTime QtScheduler::now() const
{
    return QDateTime::currentDateTime();
}

qint64 QtScheduler::monotonicMs() const
{
    return m_clock.elapsed();
}

} // namespace talvo
