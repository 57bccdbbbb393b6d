#include "ScrollTabSwitcher.h"

#include "platform/Scheduler.h"

#include <algorithm>
#include <limits>

namespace talvo {

ScrollTabSwitcher::ScrollTabSwitcher(Scheduler &scheduler)
    : m_scheduler(scheduler)
    // Far enough back that the spacing has passed, yet safe to subtract from.
    , m_lastSwitchTime(std::numeric_limits<qint64>::min() / 4)
{
}

std::optional<NotchPanelTab> ScrollTabSwitcher::scroll(const PointerEvent &event, NotchPanelTab current)
{
    if (m_scheduler.monotonicMs() - m_lastSwitchTime < kTabSwitchSpacingMs)
        return std::nullopt;

    const qreal delta = event.hasPreciseScrollingDeltas ? event.scrollingDelta.y() : event.delta.y();
    m_sum += delta;
    const qreal threshold = event.hasPreciseScrollingDeltas ? kPreciseScrollThreshold : kLineScrollThreshold;
    std::optional<NotchPanelTab> next;
    if (qAbs(m_sum) >= threshold) {
        // The shortcuts tab is reached only by its button.
        static const QList<NotchPanelTab> cycle{NotchPanelTab::Home, NotchPanelTab::Tray};
        const qsizetype index = cycle.indexOf(current);
        const qsizetype step = m_sum < 0 ? 1 : -1;
        const qsizetype to = std::clamp<qsizetype>(index + step, 0, cycle.size() - 1);
        if (index >= 0 && to != index) {
            m_lastSwitchTime = m_scheduler.monotonicMs();
            next = cycle.at(to);
        }
    }
    if ((delta > 0 && m_sum < 0) || (delta < 0 && m_sum > 0))
        m_sum = 0;
    return next;
}

} // namespace talvo
