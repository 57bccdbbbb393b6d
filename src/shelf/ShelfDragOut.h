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
class NotchViewModel;
class NotchWindowController;

// Carries shelf items out of the notch in drag-and-drop sessions: what each
// kind of item offers, which actions it allows, and what the notch does while
// and after an item is dragged out. The tiles (ShelfItemDragSource) decide
// when a drag starts.
//
// A file item offers its file URL (text/uri-list) and lets the target move the
// file while the move modifier (Shift) is held; once a move was performed the
// item leaves the shelf as soon as the file is gone from its place. Text and
// image items offer copies only: plain text, or PNG image data (TIFF for
// targets that ask for it).
//
// Main thread only. The view model and the window controller may be gone;
// their steps are then skipped.
class ShelfDragOut : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    static constexpr int kPictureSize = 50; // logical pixels, both sides
    static constexpr int kRemovalAttempts = 12;
    static constexpr Qt::KeyboardModifier kMoveModifier = Qt::ShiftModifier;

    ShelfDragOut(NotchViewModel *viewModel, NotchWindowController *controller, DragSessions &sessions,
                 const ContentTypes &contentTypes, QObject *parent = nullptr);

    // QML gets the instance the application built (see QmlInstances.h).
    static ShelfDragOut *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    NotchViewModel *viewModel() const { return m_viewModel; }
    // The shelf's item with this id, if it is still there.
    std::optional<ShelfItem> item(const QString &id) const;

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

private:
    void sessionBegan(const ShelfItem &item);
    void sessionEnded(const ShelfItem &item, Qt::DropAction action);

    QPointer<NotchViewModel> m_viewModel;
    QPointer<NotchWindowController> m_controller;
    DragSessions &m_sessions;
    const ContentTypes &m_contentTypes;
};

} // namespace talvo
