#pragma once

#include "platform/Scheduler.h"

#include <QObject>

#include <functional>

namespace talvo {

// Decides when freed memory goes back to the system. Most of it is freed when
// the open panel is discarded, so the first release follows that closely. Much
// is freed later while the notch stays closed: unused pictures leave Qt's image
// cache over half a minute or so, workers decode dropped files, thumbnails and
// artwork, a player leaving drops its art. So while the panel is away the
// release repeats once a minute, a walk over the allocator's free lists that
// does not show in the idle CPU figure. Nothing is released while the panel is
// open: it would hand back pages the panel is about to take again.
class HeapReleaseSchedule : public QObject
{
    Q_OBJECT
public:
    static constexpr Scheduler::Duration kAfterPanel{250};
    static constexpr Scheduler::Duration kWhileClosed{60000};

    HeapReleaseSchedule(Scheduler &scheduler, std::function<void()> release, QObject *parent = nullptr);

    // Called when the open panel appears or has been discarded.
    void setPanelPresent(bool present);

private:
    Scheduler &m_scheduler;
    std::function<void()> m_release;
    TimerHandle m_soon;
    TimerHandle m_repeat;
};

} // namespace talvo
