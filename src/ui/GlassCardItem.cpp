#include "GlassCardItem.h"

#include "ContinuousRoundedRectangle.h"

#include <QLinearGradient>
#include <QSGNode>
#include <QPainter>

namespace talvo {

GlassCardItem::GlassCardItem(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
    for (auto changed : {&GlassCardItem::radiusChanged, &GlassCardItem::fillTopChanged, &GlassCardItem::fillBottomChanged,
                         &GlassCardItem::borderColorChanged, &GlassCardItem::borderWidthChanged,
                         &GlassCardItem::borderGradientChanged,
                         &GlassCardItem::dashLengthChanged, &GlassCardItem::shadowColorChanged,
                         &GlassCardItem::shadowBlurChanged, &GlassCardItem::shadowOffsetYChanged})
        connect(this, changed, this, [this] { update(); });
}

QSGNode *GlassCardItem::updatePaintNode(QSGNode *oldNode, UpdatePaintNodeData *data)
{
    // As the base class does for an empty item.
    if (width() < 1 || height() < 1) {
        delete oldNode;
        return nullptr;
    }
    return QQuickPaintedItem::updatePaintNode(oldNode, data);
}

void GlassCardItem::paint(QPainter *painter)
{
    // The shadow spills over the item's edges: the item is grown by the blur
    // on every side, and the card sits inset by that much.
    const qreal spill = m_shadowColor.alpha() > 0 ? m_shadowBlur + std::abs(m_shadowOffsetY) : 0;
    const QRectF card(spill, spill, width() - 2 * spill, height() - 2 * spill);
    if (card.width() <= 0 || card.height() <= 0)
        return;
    ContinuousRoundedRectangle shape;
    shape.setRadius(m_radius);
    const QPainterPath path = shape.outline(card).toPainterPath();
    painter->setRenderHint(QPainter::Antialiasing);

    if (spill > 0) {
        // Three nested strokes fade the shadow out over its blur radius.
        QColor layer = m_shadowColor;
        layer.setAlphaF(m_shadowColor.alphaF() / 3);
        painter->save();
        painter->translate(0, m_shadowOffsetY);
        for (qreal width : {m_shadowBlur * 1.6, m_shadowBlur, m_shadowBlur * 0.4}) {
            painter->setPen(QPen(layer, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter->setBrush(Qt::NoBrush);
            painter->drawPath(path);
        }
        painter->setPen(Qt::NoPen);
        painter->setBrush(layer);
        painter->drawPath(path);
        painter->restore();
    }

    QLinearGradient gradient(card.topLeft(), card.bottomRight());
    gradient.setColorAt(0, m_fillTop);
    gradient.setColorAt(1, m_fillBottom);
    // The fill covers the shadow below the card.
    if (spill > 0) {
        painter->setCompositionMode(QPainter::CompositionMode_Clear);
        painter->fillPath(path, Qt::black);
        painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    painter->fillPath(path, gradient);

    if (m_borderWidth > 0 && (m_borderColor.alpha() > 0 || !m_borderGradient.isEmpty())) {
        // Inside the edge: the line's centre runs half its width in.
        const qreal inset = m_borderWidth / 2;
        ContinuousRoundedRectangle inner;
        inner.setRadius(std::max<qreal>(0, m_radius - inset));
        QPen pen(m_borderColor, m_borderWidth);
        if (!m_borderGradient.isEmpty()) {
            QLinearGradient line(card.topLeft(), card.bottomRight());
            const qsizetype last = m_borderGradient.size() - 1;
            for (qsizetype i = 0; i <= last; ++i)
                line.setColorAt(last > 0 ? qreal(i) / qreal(last) : 0, m_borderGradient.at(i).value<QColor>());
            pen.setBrush(line);
        }
        if (m_dashLength > 0)
            pen.setDashPattern({m_dashLength / m_borderWidth, m_dashLength / m_borderWidth});
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawPath(inner.outline(card.adjusted(inset, inset, -inset, -inset)).toPainterPath());
    }
}

} // namespace talvo
