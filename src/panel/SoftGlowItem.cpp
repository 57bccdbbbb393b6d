#include "SoftGlowItem.h"

#include <QPainter>
#include <QRadialGradient>

#include <cmath>

namespace talvo {

SoftGlowItem::SoftGlowItem(QQuickItem *parent) : PaintedItem(parent)
{
    setAntialiasing(true);
    connect(this, &SoftGlowItem::appearanceChanged, this, [this] { update(); });
}

void SoftGlowItem::paint(QPainter *painter)
{
    const qreal outer = m_discRadius + m_blur;
    if (outer <= 0 || m_color.alpha() == 0)
        return;
    // A Gaussian blur of a disc: full inside, half at its edge, gone one blur
    // radius out; a smooth step through those points is close enough.
    QRadialGradient gradient(QPointF(width() / 2, height() / 2), outer);
    constexpr int kSteps = 8;
    for (int i = 0; i <= kSteps; ++i) {
        const qreal r = outer * i / kSteps;
        const qreal t = std::clamp((r - (m_discRadius - m_blur)) / (2 * m_blur > 0 ? 2 * m_blur : 1), 0.0, 1.0);
        QColor c = m_color;
        c.setAlphaF(float(m_color.alphaF() * (1 - t * t * (3 - 2 * t))));
        gradient.setColorAt(qreal(i) / kSteps, c);
    }
    painter->setPen(Qt::NoPen);
    painter->setBrush(gradient);
    painter->drawEllipse(QPointF(width() / 2, height() / 2), outer, outer);
}

} // namespace talvo
