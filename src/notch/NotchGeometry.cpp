#include "NotchGeometry.h"

#include <algorithm>

namespace talvo {

NotchGeometry::NotchGeometry(const NotchScreen &screen, bool floating) : m_screen(screen), m_floating(floating) {}

qreal NotchGeometry::topOffset() const
{
    return m_floating ? 12 : 0;
}

qreal NotchGeometry::notchHeight() const
{
    if (m_floating)
        return 32;
    return m_screen.topSafeAreaInset > 0 ? m_screen.topSafeAreaInset : 24;
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
    return hasPhysicalNotch() ? housingWidth(m_screen) + 4 : 185;
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
    const qreal h0 = notchHeight();
    const qreal w0 = baseWidth();
    const bool fileDrag = s.isFileDragActive || s.isDragTargetActive;
    const bool expanded = s.isHovering && s.isFullyExpanded && !fileDrag;
    const bool shelfDragOut = s.isShelfItemDragActive && s.itemCount > 0;
    const bool peeking = s.isHovering && !s.isShelfItemDragActive;

    if (expanded)
        return {expandedWidth(s.homeTab, s.widgetCount), h0 + 142};
    if (shelfDragOut)
        return {s.itemCount < 2 ? 160.0 : 60.0 + 85.0 * std::min(s.itemCount, 8), h0 + 122};
    if (fileDrag)
        return {320, h0 + 77};
    if (peeking && s.musicShowing)
        return {m_floating ? 250 : w0 + 170, h0 + 10};
    if (peeking)
        return {m_floating ? 160 : w0 + 50, h0 + 8};
    if (s.musicShowing)
        return {m_floating ? 210 : w0 + 140, h0 + 6};
    return {m_floating ? 130 : w0, h0};
}

QRectF NotchGeometry::shapeRect(QSizeF size) const
{
    const QRectF &frame = m_screen.frame;
    return {frame.center().x() - size.width() / 2, frame.top() + frame.height() - size.height() - topOffset(),
            size.width(), size.height()};
}

qreal NotchGeometry::expandedWidth(bool homeTab, int widgetCount)
{
    if (homeTab) {
        if (widgetCount <= 1)
            return 320;
        return widgetCount == 2 ? 590 : 860;
    }
    return widgetCount < 3 ? 590 : 860;
}

int NotchGeometry::widgetCount(const QString &activeWidgetsOrder)
{
    int count = 0;
    for (QStringView piece : QStringView(activeWidgetsOrder).split(QLatin1Char(','))) {
        if (!piece.isEmpty())
            ++count;
    }
    return count;
}

bool NotchGeometry::mouseInRect(QPointF point, const QRectF &frame)
{
    return point.x() >= frame.left() && point.x() < frame.left() + frame.width() && point.y() > frame.top()
           && point.y() <= frame.top() + frame.height();
}

} // namespace talvo
