#pragma once

#include <QImage>
#include <QMimeData>
#include <QPoint>

#include <functional>
#include <memory>

namespace talvo {

// Drag-and-drop sessions that carry data out of the program's own windows to
// any drop target on the desktop, this program's included.
//
// While a session runs, the action proposed to the target follows the
// keyboard at each moment: with the move modifier (Shift) held it is move,
// when the session allows move; otherwise `defaultAction`.
//
// Main thread only. start() returns at once; the session runs on a later turn
// of the event loop, so the caller may be gone before it ends.
class DragSessions
{
public:
    struct Request
    {
        std::unique_ptr<QMimeData> data;
        // Drawn under the pointer, with `hotSpot` (logical pixels) at the
        // pointer; null: no picture.
        QImage picture;
        QPoint hotSpot;
        Qt::DropActions allowedActions = Qt::CopyAction;
        Qt::DropAction defaultAction = Qt::CopyAction;
    };
    // `began` runs as the session starts, `ended` once it is over with the
    // action the target performed (IgnoreAction when the drop was refused or
    // the drag cancelled). Each runs exactly once, in that order.
    using Began = std::function<void()>;
    using Ended = std::function<void(Qt::DropAction)>;

    virtual ~DragSessions() = default;
    virtual void start(Request request, Began began, Ended ended) = 0;
};

} // namespace talvo
