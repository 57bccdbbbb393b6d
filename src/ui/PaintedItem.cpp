#include "PaintedItem.h"

namespace talvo {

PaintedItem::PaintedItem(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setFlag(ItemHasContents, false);
}

void PaintedItem::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    const bool paintable = newGeometry.width() >= 1 && newGeometry.height() >= 1;
    if (paintable != flags().testFlag(ItemHasContents)) {
        setFlag(ItemHasContents, paintable);
        update();
    }
}

} // namespace talvo
