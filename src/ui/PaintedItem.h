#pragma once

#include <QQuickPaintedItem>

namespace talvo {

// A painted item that has contents only from one pixel on: below that the
// software renderer has no picture to paint into, and every frame of a
// spring passing through a sliver would warn.
class PaintedItem : public QQuickPaintedItem
{
    Q_OBJECT
public:
    explicit PaintedItem(QQuickItem *parent = nullptr);

protected:
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;
};

} // namespace talvo
