#include "OrvaneNotchShape.h"

#include <algorithm>

namespace talvo {

OrvaneNotchShape::OrvaneNotchShape(QObject *parent) : OutlineShape(parent)
{
    updatePath();
}

void OrvaneNotchShape::setTopRadius(qreal radius)
{
    if (assign(m_topRadius, radius))
        emit topRadiusChanged();
}

void OrvaneNotchShape::setBottomRadius(qreal radius)
{
    if (assign(m_bottomRadius, radius))
        emit bottomRadiusChanged();
}

OutlinePath OrvaneNotchShape::outline(const QRectF &rect) const
{
    const qreal minX = rect.left();
    const qreal maxX = rect.right();
    const qreal minY = rect.top();
    const qreal maxY = rect.bottom();
    // A spring overshooting while the notch collapses can briefly ask for more
    // radius than the rectangle holds; the curves would then cross and the fill
    // would flip inside out. Keep them within the rectangle.
    const qreal halfWidth = std::max<qreal>(rect.width() / 2, 0);
    const qreal height = std::max<qreal>(rect.height(), 0);
    const qreal t = std::clamp<qreal>(m_topRadius, 0, std::min(halfWidth, height));
    const qreal b = std::clamp<qreal>(m_bottomRadius, 0, std::min(halfWidth - t, height - t));

    OutlinePath path;
    path.moveTo({minX, minY});
    path.quadTo({minX + t, minY}, {minX + t, minY + t});
    path.lineTo({minX + t, maxY - b});
    path.quadTo({minX + t, maxY}, {minX + t + b, maxY});
    path.lineTo({maxX - t - b, maxY});
    path.quadTo({maxX - t, maxY}, {maxX - t, maxY - b});
    path.lineTo({maxX - t, minY + t});
    path.quadTo({maxX - t, minY}, {maxX, minY});
    path.lineTo({minX, minY});
    return path;
}

QString OrvaneNotchShape::sidesPathData() const
{
    const OutlinePath whole = outline(QRectF(0, 0, width(), height()));
    return whole.first(whole.steps().size() - 1).toSvgPathData();
}

} // namespace talvo
