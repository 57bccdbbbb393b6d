#pragma once

#include "DesktopCoordinates.h"
#include "NotchSizes.h"

#include <QRectF>
#include <QSizeF>
#include <QString>

namespace talvo {

// What decides the notch's outline at a given moment.
struct NotchShapeState
{
    bool isHovering = false;
    bool isFullyExpanded = false;
    bool isFileDragActive = false;
    bool isDragTargetActive = false;
    bool isShelfItemDragActive = false;
    int itemCount = 0;
    // Music is playing and the user has not dismissed the current track.
    bool musicShowing = false;
    bool homeTab = true;
    // Number of widgets on the home tab (see NotchGeometry::widgetCount()).
    int widgetCount = 0;
};

// The notch's sizes and places on one screen, in the notch's coordinate space
// (points, origin bottom left, y up; see DesktopCoordinates). The outline is
// measured from NotchSizes by its outline rule.
class NotchGeometry
{
public:
    // As wide as the widest body, the open panel with three widgets or more.
    static constexpr qreal windowWidth = NotchSizes::widePanelWidth;
    static constexpr qreal windowHeight = 250;
    // How far the open panel's outline is grown before the pointer counts as gone.
    static constexpr qreal hoverMargin = 20;

    NotchGeometry(const NotchScreen &screen, bool floating);

    bool isFloating() const { return m_floating; }
    // The floating notch stands free of the top edge.
    qreal topOffset() const;
    // H0: the height of the collapsed notch.
    qreal notchHeight() const;
    // A camera housing sits in the top edge (never for the floating style).
    bool hasPhysicalNotch() const;
    // W0: the width of the collapsed attached notch.
    qreal baseWidth() const;
    qreal hotZoneWidth() const;

    // The window, always the same size, centred at the top of the screen.
    QRectF windowFrame() const;
    // The region that opens the notch; unbounded above.
    bool isInCollapsedHotZone(QPointF point) const;
    QSizeF shapeSize(const NotchShapeState &state) const;
    // The outline of the given size, centred at the top of the screen.
    QRectF shapeRect(QSizeF size) const;
    QRectF shapeRect(const NotchShapeState &state) const { return shapeRect(shapeSize(state)); }

    // Width of the open panel.
    static qreal expandedWidth(bool homeTab, int widgetCount);
    // Number of non-empty comma-separated pieces, known or not.
    static int widgetCount(const QString &activeWidgetsOrder);
    // Whether a pointer at `point` is on the screen with `frame`: the left and
    // top edges belong to it, the right and bottom ones do not.
    static bool mouseInRect(QPointF point, const QRectF &frame);

private:
    NotchScreen m_screen;
    bool m_floating = false;
};

} // namespace talvo
