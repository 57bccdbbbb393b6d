#include "ShelfItemDragSource.h"

#include "ShelfDragOut.h"

#include <cmath>

namespace talvo {

ShelfItemDragSource::ShelfItemDragSource(QObject *parent) : QObject(parent) {}

void ShelfItemDragSource::setDragOut(ShelfDragOut *dragOut)
{
    if (m_dragOut == dragOut)
        return;
    m_dragOut = dragOut;
    emit dragOutChanged();
}

void ShelfItemDragSource::setItemId(const QString &id)
{
    if (m_itemId == id)
        return;
    m_itemId = id;
    emit itemIdChanged();
}

void ShelfItemDragSource::setTileSize(QSizeF size)
{
    if (m_tileSize == size)
        return;
    m_tileSize = size;
    emit tileSizeChanged();
}

void ShelfItemDragSource::press(qreal x, qreal y)
{
    m_mouseDownPoint = QPointF(x, y);
    if (std::exchange(m_didStartDragging, false))
        emit isDraggingChanged();
}

bool ShelfItemDragSource::move(qreal x, qreal y)
{
    if (m_didStartDragging || !m_mouseDownPoint || !m_dragOut)
        return false;
    const QPointF point(x, y);
    if (std::hypot(point.x() - m_mouseDownPoint->x(), point.y() - m_mouseDownPoint->y()) <= kDragThreshold)
        return false;
    const std::optional<ShelfItem> item = m_dragOut->item(m_itemId);
    if (!item)
        return false;
    // Set before the session starts, so that an end reported at once finds
    // the press to reset.
    m_didStartDragging = true;
    QPointer<ShelfItemDragSource> self(this);
    const bool started = m_dragOut->beginDrag(*item, point, m_tileSize, [self] {
        if (self) {
            self->resetPress();
            emit self->dragEnded();
        }
    });
    if (!started) {
        m_didStartDragging = false;
        return false;
    }
    if (m_didStartDragging)
        emit isDraggingChanged();
    return true;
}

void ShelfItemDragSource::release()
{
    resetPress();
}

void ShelfItemDragSource::resetPress()
{
    m_mouseDownPoint.reset();
    if (std::exchange(m_didStartDragging, false))
        emit isDraggingChanged();
}

void ShelfItemDragSource::removeItem()
{
    if (m_dragOut)
        m_dragOut->removeItem(m_itemId);
}

} // namespace talvo
