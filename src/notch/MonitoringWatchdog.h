#pragma once

#include "platform/Scheduler.h"

#include <QObject>

#include <functional>

namespace talvo {

class NotchWindowSurface;
class SystemEvents;
class TimerQueue;

// Keeps the notch's pointer monitoring alive. Every kHealthCheckInterval it
// restarts monitoring that is gone or has not looked at the pointer for
// kStaleMonitoringMs, and raises the window again; after the machine wakes,
// the workspace changes, the program is activated or the screens change it
// recovers (restarts monitoring, places and raises the window), and after the
// session is unlocked it restarts monitoring. The health check ticks on the
// monitor queue, so a busy main thread does not hold it back.
//
// Main thread only.
class MonitoringWatchdog : public QObject
{
    Q_OBJECT
public:
    static constexpr Scheduler::Duration kHealthCheckInterval{10000};
    static constexpr qint64 kStaleMonitoringMs = 15000;

    // What is watched, as the notch window controller answers and acts.
    struct Watched
    {
        // The event monitors and the pointer poll are installed.
        std::function<bool()> isMonitoring;
        // Monotonic milliseconds of the latest look at the pointer.
        std::function<qint64()> lastPointerCheck;
        std::function<void()> startMonitoring;
        std::function<void()> positionWindow;
        // The screens changed: the notch's screen is chosen again.
        std::function<void()> revalidateScreen;
    };

    // Listens to the desktop's events from the start.
    MonitoringWatchdog(Scheduler &scheduler, TimerQueue &monitorQueue, SystemEvents &systemEvents,
                       NotchWindowSurface &window, Watched watched);
    ~MonitoringWatchdog() override;

    void startHealthCheck();
    void checkHealth();
    void recover();

private:
    void raiseWindow();

    Scheduler &m_scheduler;
    TimerQueue &m_monitorQueue;
    SystemEvents &m_systemEvents;
    NotchWindowSurface &m_window;
    Watched m_watched;
    TimerHandle m_healthCheckTimer;
};

} // namespace talvo
