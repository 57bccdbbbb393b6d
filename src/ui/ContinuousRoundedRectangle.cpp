#include "ContinuousRoundedRectangle.h"

#include <algorithm>

namespace talvo {

namespace {

// Cubic handle length, as a share of the corner's extent, for a circular
// quarter (the usual 4/3·(√2−1)) and for the eased corner, whose curve starts
// further from the corner and bends more gently at both ends.
constexpr qreal kCircularHandle = 0.5523;
constexpr qreal kEasedHandle = 0.64;
// How far the eased corner reaches along each edge, in radii.
constexpr qreal kEasedExtent = 1.25;

} // namespace

ContinuousRoundedRectangle::ContinuousRoundedRectangle(QObject *parent) : OutlineShape(parent)
{
    updatePath();
}

void ContinuousRoundedRectangle::setRadius(qreal radius)
{
    if (assign(m_radius, radius))
        emit radiusChanged();
}

OutlinePath ContinuousRoundedRectangle::outline(const QRectF &rect) const
{
    const qreal half = std::max<qreal>(std::min(rect.width(), rect.height()) / 2, 0);
    const qreal r = std::clamp<qreal>(m_radius, 0, half);
    // Blend from the eased corner (room to spare) to a circular one (radius at
    // half the shorter side), so that animating the radius never jumps.
    const qreal room = r > 0 ? std::clamp<qreal>((half - r) / ((kEasedExtent - 1) * r), 0, 1) : 0;
    const qreal extent = r + (kEasedExtent - 1) * r * room;
    const qreal handle = extent * (1 - (kCircularHandle + (kEasedHandle - kCircularHandle) * room));

    const qreal l = rect.left(), t = rect.top(), rgt = rect.right(), btm = rect.bottom();
    OutlinePath path;
    path.moveTo({l + extent, t});
    path.lineTo({rgt - extent, t});
    path.cubicTo({rgt - handle, t}, {rgt, t + handle}, {rgt, t + extent});
    path.lineTo({rgt, btm - extent});
    path.cubicTo({rgt, btm - handle}, {rgt - handle, btm}, {rgt - extent, btm});
    path.lineTo({l + extent, btm});
    path.cubicTo({l + handle, btm}, {l, btm - handle}, {l, btm - extent});
    path.lineTo({l, t + extent});
    path.cubicTo({l, t + handle}, {l + handle, t}, {l + extent, t});
    return path;
}

} // namespace talvo
