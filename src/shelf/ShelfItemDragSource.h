#pragma once

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QSizeF>
#include <QtQml/qqmlregistration.h>

#include <optional>

namespace talvo {

class ShelfDragOut;

// The press-and-drag rule of one shelf tile. The tile reports presses, moves
// and releases in its own coordinates (logical pixels); a drag of its item
// starts once the pointer has moved more than kDragThreshold from the press,
// at most once per press. A press that starts no drag ends at the release.
//
// Main thread only.
class ShelfItemDragSource : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(talvo::ShelfDragOut *dragOut READ dragOut WRITE setDragOut NOTIFY dragOutChanged)
    Q_PROPERTY(QString itemId READ itemId WRITE setItemId NOTIFY itemIdChanged)
    Q_PROPERTY(QSizeF tileSize READ tileSize WRITE setTileSize NOTIFY tileSizeChanged)
    Q_PROPERTY(bool isDragging READ isDragging NOTIFY isDraggingChanged)

public:
    static constexpr qreal kDragThreshold = 3.0;

    explicit ShelfItemDragSource(QObject *parent = nullptr);

    ShelfDragOut *dragOut() const { return m_dragOut; }
    void setDragOut(ShelfDragOut *dragOut);
    QString itemId() const { return m_itemId; }
    void setItemId(const QString &id);
    QSizeF tileSize() const { return m_tileSize; }
    void setTileSize(QSizeF size);
    // A session was started for the current press and has not ended.
    bool isDragging() const { return m_didStartDragging; }
    bool isPressed() const { return m_mouseDownPoint.has_value(); }

    Q_INVOKABLE void press(qreal x, qreal y);
    // True when this move started the drag.
    Q_INVOKABLE bool move(qreal x, qreal y);
    Q_INVOKABLE void release();
    // The remove button: takes only this tile's item off the shelf.
    Q_INVOKABLE void removeItem();

signals:
    void dragOutChanged();
    void itemIdChanged();
    void tileSizeChanged();
    void isDraggingChanged();
    // The drag session started from this tile is over.
    void dragEnded();

private:
    void resetPress();

    QPointer<ShelfDragOut> m_dragOut;
    QString m_itemId;
    QSizeF m_tileSize{71, 84};
    std::optional<QPointF> m_mouseDownPoint;
    bool m_didStartDragging = false;
};

} // namespace talvo
