#pragma once

#include "shelf/ShelfItem.h"

#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QRectF>
#include <QUrl>

namespace talvo {

class DragData;
class HapticFeedback;
class NotchViewModel;
class NotchWindowController;
class Scheduler;

// The notch window as a drop target. A drag over the notch's current outline,
// grown by kTargetMargin on every side, gets the copy operation and turns the
// notch into "Drop to shelf"; a drop there adds what the drag carries to the
// shelf. Exactly one kind is taken from a drop, the first one found of: file
// URLs (local files and folders), a file URL given as text, an image, text.
//
// Locations are in the window's own coordinates (logical pixels, origin top
// left). Published state changes on a later event-loop turn, never in the
// middle of a drag callback.
//
// Main thread only. Either pointer may be gone; operations that need it then
// do nothing and answer no operation.
class DropDetectionView : public QObject
{
    Q_OBJECT
public:
    static constexpr qreal kTargetMargin = 20;

    DropDetectionView(NotchWindowController *controller, NotchViewModel *viewModel, Scheduler &scheduler,
                      HapticFeedback &haptics, QObject *parent = nullptr);

    // The zone in which a drag may drop: empty without a controller.
    QRectF targetZone() const;

    // A drag entered or moved: the copy action inside the target zone, the
    // ignore action outside (and for the shelf's own items on their way out).
    Qt::DropAction evaluateDrag(QPointF location, const DragData &data);
    // The drag left the window.
    void draggingExited();
    // Adds shelfItems(data) to the shelf; false when the drop added nothing.
    // The drag's bookkeeping ends on the next turn either way.
    bool acceptDrop(const DragData &data);
    // What a drop adds to the shelf: one item per thing of the one kind taken
    // (see the class comment), in the drag's order; file items come without
    // a picture.
    static QList<ShelfItem> shelfItems(const DragData &data);
    // Ends the drag's bookkeeping: its change count is the last completed one,
    // the file-drag and drop-target flags clear.
    void finishDrag();

    // Whether the drag carries files, by the same rule the window controller
    // uses for drags on the desktop.
    static bool carriesFiles(const DragData &data);
    // The local file URLs of the drag's URI list, in order.
    static QList<QUrl> fileUrls(const DragData &data);

protected:
    // Translates the Qt drag events of the window it filters.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool acceptsDragAt(QPointF location) const;
    void setDragTargetActiveLater(bool active);

    // Whether the drag entering the window goes to the panel (see
    // FileDragTracker::isForFavorites) rather than to the shelf.
    bool passesToPanel(const DragData &data);

    QPointer<NotchWindowController> m_controller;
    QPointer<NotchViewModel> m_viewModel;
    Scheduler &m_scheduler;
    HapticFeedback &m_haptics;
    // The drag in the window is the panel's: its events go on to the items.
    bool m_panelDrag = false;
};

} // namespace talvo
