#pragma once

#include "platform/Screens.h"

#include <QPointF>
#include <QRectF>

namespace talvo {

// A screen in the notch's coordinate space (see DesktopCoordinates).
struct NotchScreen
{
    quint32 number = 0;
    QRectF frame;
    qreal topSafeAreaInset = 0;
    // Widths of the top bands beside a camera housing; set exactly when the
    // screen reports both bands.
    bool hasAuxiliaryTopAreas = false;
    qreal auxiliaryTopLeftWidth = 0;
    qreal auxiliaryTopRightWidth = 0;

    bool operator==(const NotchScreen &) const = default;
};

// The notch's geometry is worked out with the origin at the bottom left of the
// main screen and y growing upwards, so that "the top of a screen" is its
// largest y. The desktop (Qt, X11) puts the origin at the top left with y
// growing downwards. This class is the only place where the two meet.
//
// A pointer on the top pixel row of a screen lies at the screen's max-y, and a
// point inside the screen's pixel rows has minY < y <= maxY, which is what
// NotchGeometry::mouseInRect() expects.
class DesktopCoordinates
{
public:
    // `mainScreenGeometry`: the main screen's geometry in Qt's coordinates.
    explicit DesktopCoordinates(const QRectF &mainScreenGeometry = {});

    QPointF toNotch(QPointF qtPoint) const;
    QRectF toNotch(const QRectF &qtRect) const;
    NotchScreen toNotch(const ScreenInfo &screen) const;

    QPointF toQt(QPointF notchPoint) const;
    QRectF toQt(const QRectF &notchRect) const;

private:
    qreal m_left = 0;
    qreal m_bottom = 0;
};

} // namespace talvo
