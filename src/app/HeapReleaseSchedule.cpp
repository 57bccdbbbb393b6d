#include "HeapReleaseSchedule.h"

namespace talvo {

HeapReleaseSchedule::HeapReleaseSchedule(Scheduler &scheduler, std::function<void()> release, QObject *parent)
    : QObject(parent), m_scheduler(scheduler), m_release(std::move(release))
{
    m_repeat = m_scheduler.every(kWhileClosed, this, m_release);
}

void HeapReleaseSchedule::setPanelPresent(bool present)
{
    m_soon.cancel();
    m_repeat.cancel();
    if (present)
        return;
    m_soon = m_scheduler.after(kAfterPanel, this, m_release);
    m_repeat = m_scheduler.every(kWhileClosed, this, m_release);
}

} // namespace talvo
