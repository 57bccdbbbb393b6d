#pragma once

#include "ShelfItem.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <memory>
#include <optional>

class QMimeData;
class QQmlEngine;
class QJSEngine;

namespace talvo {

class ContentTypes;
class DragSessions;
class ShelfItemListModel;

// Carries shelf items out of the notch in drag-and-drop sessions: what each
// kind of item offers, which actions it allows, and what it tells the notch
// while and after an item is dragged out. The tiles (ShelfItemDragSource) decide
// when a drag starts.
//
// A file item offers its file URL (text/uri-list) and lets the target move the
// file while the move modifier (Shift) is held; once a move was performed the
// item leaves the shelf as soon as the file is gone from its place. Text and
// image items offer copies only: plain text, or PNG image data (TIFF for
// targets that ask for it).
//
// The notch follows the sessions through the signals below; whoever builds
// the notch connects them. Main thread only. The item list may be gone; no
// drag starts then.
class ShelfDragOut : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    static constexpr int kPictureSize = 50; // logical pixels, both sides
    static constexpr int kRemovalAttempts = 12;
    static constexpr Qt::KeyboardModifier kMoveModifier = Qt::ShiftModifier;

    ShelfDragOut(ShelfItemListModel *items, DragSessions &sessions, const ContentTypes &contentTypes,
                 QObject *parent = nullptr);

    // QML gets the instance the application built (see QmlInstances.h).
    static ShelfDragOut *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    // The shelf's item with this id, if it is still there.
    std::optional<ShelfItem> item(const QString &id) const;
    // The remove button of the item's tile: asks for its removal.
    void removeItem(const QString &id);

    // What dragging `item` offers; nothing when it has nothing to offer (an
    // image item whose picture cannot be encoded).
    static std::unique_ptr<QMimeData> makeDragData(const ShelfItem &item);
    // The actions a target may perform with the modifiers held at that moment.
    static Qt::DropActions sourceOperationMask(ItemType type, Qt::KeyboardModifiers modifiers);
    // The picture that follows the pointer: the item's icon, else a document
    // symbol, else nothing.
    QImage dragPicture(const ShelfItem &item, qreal devicePixelRatio) const;

    // Starts dragging `item` out of a tile of `tileSize` in which the pointer
    // is at `point`; the picture starts centred on the tile. False, and no
    // session, when the item offers nothing. `ended` runs when the session is
    // over, before the notch's own bookkeeping.
    bool beginDrag(const ShelfItem &item, QPointF point, QSizeF tileSize, std::function<void()> ended);

signals:
    // A file item's session began: the shelf strip shows while the file is on
    // its way out. Text and image drags leave the notch as it is.
    void fileDragOutBegan();
    // A session of any kind is over, after the tile heard of it.
    void dragOutEnded();
    // The target moved the file of item `id` away; it may still be moving
    // it. The item leaves the shelf once the file is gone from `url`, looked
    // for kRemovalAttempts + 1 times.
    void fileMovedOut(const QUuid &id, const QUrl &url);
    // The item is to leave the shelf (its tile's remove button).
    void removalRequested(const QUuid &id);

private:
    void sessionEnded(const ShelfItem &item, Qt::DropAction action);

    QPointer<ShelfItemListModel> m_items;
    DragSessions &m_sessions;
    const ContentTypes &m_contentTypes;
};

} // namespace talvo
