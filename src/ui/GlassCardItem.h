#pragma once

#include <QColor>
#include <QQuickPaintedItem>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace talvo {

// A rounded rectangle with continuous corners, painted: a fill running from
// `fillTop` (top-leading corner) to `fillBottom` (bottom-trailing), a border
// (solid, or dashed with `dashLength`) drawn inside the edge, and a soft
// shadow below it made of nested translucent strokes. Painted items are safe
// to create and discard with the panel under every scene-graph backend.
//
//     GlassCardItem { radius: 24; fillTop: "#1affffff"; borderColor: "#1affffff"; borderWidth: 0.5
//                     shadowColor: "#26000000"; shadowBlur: 18; shadowOffsetY: 6 }
class GlassCardItem : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal radius MEMBER m_radius NOTIFY radiusChanged)
    Q_PROPERTY(QColor fillTop MEMBER m_fillTop NOTIFY fillTopChanged)
    Q_PROPERTY(QColor fillBottom MEMBER m_fillBottom NOTIFY fillBottomChanged)
    Q_PROPERTY(QColor borderColor MEMBER m_borderColor NOTIFY borderColorChanged)
    Q_PROPERTY(qreal borderWidth MEMBER m_borderWidth NOTIFY borderWidthChanged)
    // Colours evenly spaced from the top-leading corner to the bottom-trailing
    // one; when set, the border runs through them instead of `borderColor`.
    Q_PROPERTY(QVariantList borderGradient MEMBER m_borderGradient NOTIFY borderGradientChanged)
    Q_PROPERTY(qreal dashLength MEMBER m_dashLength NOTIFY dashLengthChanged)
    Q_PROPERTY(QColor shadowColor MEMBER m_shadowColor NOTIFY shadowColorChanged)
    Q_PROPERTY(qreal shadowBlur MEMBER m_shadowBlur NOTIFY shadowBlurChanged)
    Q_PROPERTY(qreal shadowOffsetY MEMBER m_shadowOffsetY NOTIFY shadowOffsetYChanged)
public:
    explicit GlassCardItem(QQuickItem *parent = nullptr);

    void paint(QPainter *painter) override;

protected:
    // Nothing under a pixel either way: the software scene graph would paint
    // it into an empty pixmap, and each frame of an opening panel would log
    // a dozen painter failures.
    QSGNode *updatePaintNode(QSGNode *oldNode, UpdatePaintNodeData *data) override;

signals:
    // One signal each: a binding between two of them (fillBottom: fillTop)
    // must not wake itself.
    void radiusChanged();
    void fillTopChanged();
    void fillBottomChanged();
    void borderColorChanged();
    void borderWidthChanged();
    void borderGradientChanged();
    void dashLengthChanged();
    void shadowColorChanged();
    void shadowBlurChanged();
    void shadowOffsetYChanged();

private:
    qreal m_radius = 0;
    QColor m_fillTop = Qt::transparent;
    QColor m_fillBottom = Qt::transparent;
    QColor m_borderColor = Qt::transparent;
    qreal m_borderWidth = 0;
    QVariantList m_borderGradient;
    qreal m_dashLength = 0;
    QColor m_shadowColor = Qt::transparent;
    qreal m_shadowBlur = 0;
    qreal m_shadowOffsetY = 0;
};

} // namespace talvo
