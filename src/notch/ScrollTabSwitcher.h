#pragma once

#include "NotchViewModel.h"
#include "platform/PointerEvent.h"

#include <optional>

namespace talvo {

class Scheduler;

// Turns scrolling over the open panel into tab switches. Scrolls in one
// direction add up until they reach a threshold (pixels from a touchpad, lines
// from a wheel); scrolling down moves along the cycle Home, Tray and up moves
// back, without wrapping. After a switch, scrolls are ignored for a while so
// that one swipe switches once.
//
// Main thread only.
class ScrollTabSwitcher
{
public:
    static constexpr qint64 kTabSwitchSpacingMs = 400;
    static constexpr qreal kPreciseScrollThreshold = 15.0;
    static constexpr qreal kLineScrollThreshold = 1.5;

    explicit ScrollTabSwitcher(Scheduler &scheduler);

    // Adds a scroll over the open panel while `current` shows; the tab to show
    // now, if the scroll switches.
    std::optional<NotchPanelTab> scroll(const PointerEvent &event, NotchPanelTab current);
    // Any other pointer event ends the scroll gesture.
    void reset() { m_sum = 0; }
    qreal sum() const { return m_sum; }

private:
    Scheduler &m_scheduler;
    qreal m_sum = 0;
    // Monotonic milliseconds; the distant past until set.
    qint64 m_lastSwitchTime;
};

} // namespace talvo
