#include "MonitoringWatchdog.h"

#include "platform/NotchWindowSurface.h"
#include "platform/SystemEvents.h"
#include "platform/TimerQueue.h"

#include <QPointer>

namespace talvo {

using namespace std::chrono_literals;

MonitoringWatchdog::MonitoringWatchdog(Scheduler &scheduler, TimerQueue &monitorQueue, SystemEvents &systemEvents,
                                       NotchWindowSurface &window, Watched watched)
    : m_scheduler(scheduler)
    , m_monitorQueue(monitorQueue)
    , m_systemEvents(systemEvents)
    , m_window(window)
    , m_watched(std::move(watched))
{
    auto recoverAfter = [this](Scheduler::Duration delay) {
        return [this, delay] { m_scheduler.after(delay, this, [this] { recover(); }); };
    };
    connect(&m_systemEvents, &SystemEvents::didWake, this, recoverAfter(500ms));
    connect(&m_systemEvents, &SystemEvents::activeWorkspaceChanged, this, recoverAfter(500ms));
    connect(&m_systemEvents, &SystemEvents::applicationActivated, this, recoverAfter(300ms));
    connect(&m_systemEvents, &SystemEvents::screenParametersChanged, this, [this] {
        m_scheduler.after(300ms, this, [this] {
            m_watched.revalidateScreen();
            recover();
        });
    });
    connect(&m_systemEvents, &SystemEvents::sessionUnlocked, this,
            [this] { m_scheduler.after(1000ms, this, [this] { m_watched.startMonitoring(); }); });
}

MonitoringWatchdog::~MonitoringWatchdog()
{
    m_healthCheckTimer.cancel();
}

void MonitoringWatchdog::startHealthCheck()
{
    m_healthCheckTimer.cancel();
    QPointer<MonitoringWatchdog> weak(this);
    Scheduler *scheduler = &m_scheduler;
    m_healthCheckTimer = m_monitorQueue.every(kHealthCheckInterval, kHealthCheckInterval, [weak, scheduler] {
        scheduler->post(nullptr, [weak] {
            if (weak)
                weak->checkHealth();
        });
    });
}

void MonitoringWatchdog::checkHealth()
{
    if (!m_watched.isMonitoring() || m_scheduler.monotonicMs() - m_watched.lastPointerCheck() > kStaleMonitoringMs)
        m_watched.startMonitoring();
    raiseWindow();
}

void MonitoringWatchdog::recover()
{
    m_watched.startMonitoring();
    m_watched.positionWindow();
    raiseWindow();
}

void MonitoringWatchdog::raiseWindow()
{
    m_window.setOverlayLevel();
    m_window.raise();
}

} // namespace talvo
