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
    Q_PROPERTY(qreal radius MEMBER m_radius NOTIFY appearanceChanged)
    Q_PROPERTY(QColor fillTop MEMBER m_fillTop NOTIFY appearanceChanged)
    Q_PROPERTY(QColor fillBottom MEMBER m_fillBottom NOTIFY appearanceChanged)
    Q_PROPERTY(QColor borderColor MEMBER m_borderColor NOTIFY appearanceChanged)
    Q_PROPERTY(qreal borderWidth MEMBER m_borderWidth NOTIFY appearanceChanged)
    // Colours evenly spaced from the top-leading corner to the bottom-trailing
    // one; when set, the border runs through them instead of `borderColor`.
    Q_PROPERTY(QVariantList borderGradient MEMBER m_borderGradient NOTIFY appearanceChanged)
    Q_PROPERTY(qreal dashLength MEMBER m_dashLength NOTIFY appearanceChanged)
    Q_PROPERTY(QColor shadowColor MEMBER m_shadowColor NOTIFY appearanceChanged)
    Q_PROPERTY(qreal shadowBlur MEMBER m_shadowBlur NOTIFY appearanceChanged)
    Q_PROPERTY(qreal shadowOffsetY MEMBER m_shadowOffsetY NOTIFY appearanceChanged)
public:
    explicit GlassCardItem(QQuickItem *parent = nullptr);

    void paint(QPainter *painter) override;

signals:
    void appearanceChanged();

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
