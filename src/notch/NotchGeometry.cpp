#include "NotchGeometry.h"

namespace talvo {

NotchGeometry::NotchGeometry(const NotchScreen &screen, bool floating) : m_screen(screen), m_floating(floating) {}

qreal NotchGeometry::topOffset() const
{
    return m_floating ? NotchSizes::floatingTopOffset : 0;
}

qreal NotchGeometry::notchHeight() const
{
    return NotchSizes::baseHeight(m_floating, m_screen.topSafeAreaInset);
}

bool NotchGeometry::hasPhysicalNotch() const
{
    return m_screen.hasAuxiliaryTopAreas && !m_floating;
}

static qreal housingWidth(const NotchScreen &screen)
{
    return screen.frame.width() - screen.auxiliaryTopLeftWidth - screen.auxiliaryTopRightWidth;
}

qreal NotchGeometry::baseWidth() const
{
    return NotchSizes::baseWidth(hasPhysicalNotch() ? std::optional(housingWidth(m_screen)) : std::nullopt);
}

qreal NotchGeometry::hotZoneWidth() const
{
    return hasPhysicalNotch() ? housingWidth(m_screen) + 20 : 200;
}

QRectF NotchGeometry::windowFrame() const
{
    const QRectF &frame = m_screen.frame;
    return {frame.center().x() - windowWidth / 2, frame.top() + frame.height() - windowHeight - topOffset(),
            windowWidth, windowHeight};
}

bool NotchGeometry::isInCollapsedHotZone(QPointF point) const
{
    const QRectF &frame = m_screen.frame;
    const qreal midX = frame.center().x();
    const qreal halfWidth = hotZoneWidth() / 2;
    const qreal maxY = frame.top() + frame.height();
    return point.x() >= midX - halfWidth - 10 && point.x() <= midX + halfWidth + 10
           && point.y() >= maxY - notchHeight() - topOffset() - 2;
}

QSizeF NotchGeometry::shapeSize(const NotchShapeState &s) const
{
    const bool fileDrag = s.isFileDragActive || s.isDragTargetActive;
    NotchBodyConditions conditions;
    conditions.panel = s.isHovering && s.isFullyExpanded && !fileDrag;
    conditions.shelfStrip = s.isShelfItemDragActive && s.itemCount > 0;
    conditions.fileDrag = fileDrag;
    conditions.hoverPeek = s.isHovering && !s.isShelfItemDragActive;
    conditions.musicPeek = s.musicShowing;
    return NotchSizes::bodySize(NotchSizes::outlineRule, NotchSizes::bodyState(conditions),
                                {baseWidth(), notchHeight(), m_floating}, {s.homeTab, s.widgetCount, s.itemCount});
}

QRectF NotchGeometry::shapeRect(QSizeF size) const
{
    const QRectF &frame = m_screen.frame;
    return {frame.center().x() - size.width() / 2, frame.top() + frame.height() - size.height() - topOffset(),
            size.width(), size.height()};
}

qreal NotchGeometry::expandedWidth(bool homeTab, int widgetCount)
{
    return NotchSizes::panelWidth(homeTab, widgetCount);
}

int NotchGeometry::widgetCount(const QString &activeWidgetsOrder)
{
    return NotchSizes::countWidgets(activeWidgetsOrder, NotchSizes::outlineRule.widgetCounting);
}

bool NotchGeometry::mouseInRect(QPointF point, const QRectF &frame)
{
    return point.x() >= frame.left() && point.x() < frame.left() + frame.width() && point.y() > frame.top()
           && point.y() <= frame.top() + frame.height();
}

} // namespace talvo
