#pragma once

#include <QColor>
#include "ui/PaintedItem.h"
#include <QtQml/qqmlregistration.h>

namespace talvo {

// A blurred disc: `color` fills a circle of `discRadius` around the item's
// centre and fades out over `blur` beyond it. Painted once; views animate its
// scale, which costs no repaint.
class SoftGlowItem : public PaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QColor color MEMBER m_color NOTIFY appearanceChanged)
    Q_PROPERTY(qreal discRadius MEMBER m_discRadius NOTIFY appearanceChanged)
    Q_PROPERTY(qreal blur MEMBER m_blur NOTIFY appearanceChanged)
public:
    explicit SoftGlowItem(QQuickItem *parent = nullptr);

    void paint(QPainter *painter) override;

signals:
    void appearanceChanged();

private:
    QColor m_color = Qt::transparent;
    qreal m_discRadius = 0;
    qreal m_blur = 0;
};

} // namespace talvo
