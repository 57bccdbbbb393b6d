#pragma once

#include "Scheduler.h"

#include <QElapsedTimer>
#include <QObject>

namespace talvo {

// The real scheduler, on QTimer and the Qt event loop of the main thread.
class QtScheduler final : public QObject, public Scheduler
{
    Q_OBJECT
public:
    explicit QtScheduler(QObject *parent = nullptr);

    void post(const QObject *context, Task task) override;
    TimerHandle after(Duration delay, const QObject *context, Task task) override;
    TimerHandle every(Duration interval, const QObject *context, Task task) override;
    QDateTime now() const override;
    qint64 monotonicMs() const override;

private:
    TimerHandle start(Duration interval, bool repeat, const QObject *context, Task task);

    QElapsedTimer m_clock;
};

} // namespace talvo
