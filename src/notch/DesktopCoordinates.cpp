#include "DesktopCoordinates.h"

namespace talvo {

DesktopCoordinates::DesktopCoordinates(const QRectF &mainScreenGeometry)
    : m_left(mainScreenGeometry.left()), m_bottom(mainScreenGeometry.top() + mainScreenGeometry.height())
{
}

QPointF DesktopCoordinates::toNotch(QPointF qtPoint) const
{
    return {qtPoint.x() - m_left, m_bottom - qtPoint.y()};
}

QRectF DesktopCoordinates::toNotch(const QRectF &qtRect) const
{
    return {qtRect.left() - m_left, m_bottom - (qtRect.top() + qtRect.height()), qtRect.width(), qtRect.height()};
}

NotchScreen DesktopCoordinates::toNotch(const ScreenInfo &screen) const
{
    NotchScreen result;
    result.number = screen.number;
    result.frame = toNotch(screen.geometry);
    result.topSafeAreaInset = screen.topSafeAreaInset;
    if (screen.auxiliaryTopLeftArea && screen.auxiliaryTopRightArea) {
        result.hasAuxiliaryTopAreas = true;
        result.auxiliaryTopLeftWidth = screen.auxiliaryTopLeftArea->width();
        result.auxiliaryTopRightWidth = screen.auxiliaryTopRightArea->width();
    }
    return result;
}

QPointF DesktopCoordinates::toQt(QPointF notchPoint) const
{
    return {notchPoint.x() + m_left, m_bottom - notchPoint.y()};
}

QRectF DesktopCoordinates::toQt(const QRectF &notchRect) const
{
    return {notchRect.left() + m_left, m_bottom - (notchRect.top() + notchRect.height()), notchRect.width(),
            notchRect.height()};
}

} // namespace talvo
