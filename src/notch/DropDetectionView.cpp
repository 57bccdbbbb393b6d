#include "DropDetectionView.h"

#include "DragData.h"
#include "NotchViewModel.h"
#include "NotchWindowController.h"
#include "platform/HapticFeedback.h"
#include "platform/Log.h"
#include "platform/Scheduler.h"

#include <QDropEvent>
#include <QMimeData>

#include <algorithm>
#include <optional>

namespace talvo {

namespace {

const QString kUriList = QStringLiteral("text/uri-list");

} // namespace

DropDetectionView::DropDetectionView(NotchWindowController *controller, NotchViewModel *viewModel,
                                     Scheduler &scheduler, HapticFeedback &haptics, QObject *parent)
    : QObject(parent), m_controller(controller), m_viewModel(viewModel), m_scheduler(scheduler), m_haptics(haptics)
{
}

QRectF DropDetectionView::targetZone() const
{
    if (!m_controller)
        return {};
    return m_controller->notchRect().adjusted(-kTargetMargin, -kTargetMargin, kTargetMargin, kTargetMargin);
}

bool DropDetectionView::acceptsDragAt(QPointF location) const
{
    if (!m_controller || !targetZone().contains(location))
        return false;
    // A shelf item on its way out starts over the notch: taking it back would
    // put the drop hint where its shelf strip belongs and copy the item.
    return !(m_viewModel && m_viewModel->isShelfItemDragActive());
}

void DropDetectionView::setDragTargetActiveLater(bool active)
{
    QPointer<NotchViewModel> vm = m_viewModel;
    m_scheduler.post(this, [vm, active] {
        if (vm)
            vm->setIsDragTargetActive(active);
    });
}

Qt::DropAction DropDetectionView::evaluateDrag(QPointF location, const DragData &data)
{
    if (!m_controller)
        return Qt::IgnoreAction;
    if (!acceptsDragAt(location)) {
        if (m_viewModel && m_viewModel->isDragTargetActive())
            setDragTargetActiveLater(false);
        return Qt::IgnoreAction;
    }
    if (!m_viewModel || m_viewModel->isDragTargetActive())
        return Qt::CopyAction;

    m_haptics.perform();
    const bool files = carriesFiles(data);
    QPointer<NotchWindowController> controller = m_controller;
    QPointer<NotchViewModel> vm = m_viewModel;
    m_scheduler.post(this, [controller, vm, files] {
        if (controller)
            controller->fileDrag().typesArrived(files);
        if (vm) {
            vm->setIsDragTargetActive(true);
            vm->setIsHovering(true);
        }
    });
    return Qt::CopyAction;
}

void DropDetectionView::draggingExited()
{
    if (m_viewModel)
        setDragTargetActiveLater(false);
}

bool DropDetectionView::acceptDrop(const DragData &data)
{
    NotchViewModel *vm = m_viewModel;
    if (!vm)
        return false;

    const QList<ShelfItem> items = shelfItems(data);
    for (const ShelfItem &item : items)
        vm->addItem(item);
    m_scheduler.post(this, [this] { finishDrag(); });
    return !items.isEmpty();
}

QList<ShelfItem> DropDetectionView::shelfItems(const DragData &data)
{
    return shelfItemsOf(data);
}

void DropDetectionView::finishDrag()
{
    if (!m_controller)
        return;
    // Ends the drop target too.
    m_controller->fileDrag().finish();
}

bool DropDetectionView::carriesFiles(const DragData &data)
{
    std::optional<QByteArray> uriList;
    if (data.hasFormat(kUriList))
        uriList = data.data(kUriList);
    return FileDragTracker::carriesFiles(data.formats(), uriList);
}

QList<QUrl> DropDetectionView::fileUrls(const DragData &data)
{
    return data.hasFormat(kUriList) ? localFileUrls(data.data(kUriList)) : QList<QUrl>();
}

bool DropDetectionView::passesToPanel(const DragData &data)
{
    if (!m_viewModel || !m_controller)
        return false;
    std::optional<QByteArray> uriList;
    if (data.hasFormat(kUriList))
        uriList = data.data(kUriList);
    if (!FileDragTracker::isForFavorites(*m_viewModel, uriList))
        return false;
    QPointer<NotchWindowController> controller = m_controller;
    m_scheduler.post(this, [controller] {
        if (!controller)
            return;
        controller->fileDrag().typesArrived(false);
        controller->fileDrag().setFileDragActive(false);
    });
    return true;
}

bool DropDetectionView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::DragEnter) {
        auto *enter = static_cast<QDragEnterEvent *>(event);
        m_panelDrag = enter->mimeData() && passesToPanel(MimeDragData(*enter->mimeData()));
    }
    if (m_panelDrag) {
        const QEvent::Type type = event->type();
        if (type == QEvent::DragLeave || type == QEvent::Drop)
            m_panelDrag = false;
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *move = static_cast<QDragMoveEvent *>(event);
        // A source that cannot copy would take a dropped file away from its
        // place once the shelf accepted it.
        const bool copyable = move->possibleActions().testFlag(Qt::CopyAction) && move->mimeData();
        if (copyable && evaluateDrag(move->position(), MimeDragData(*move->mimeData())) == Qt::CopyAction) {
            move->setDropAction(Qt::CopyAction);
            move->accept();
        } else {
            move->setDropAction(Qt::IgnoreAction);
            move->ignore();
        }
        return true;
    }
    case QEvent::DragLeave:
        draggingExited();
        return true;
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        // Sources drop only where the last move was accepted. The zone is not
        // checked again: the release that caused the drop may already have
        // ended the file drag and shrunk the outline.
        const bool allowed = drop->possibleActions().testFlag(Qt::CopyAction) && drop->mimeData();
        if (allowed && acceptDrop(MimeDragData(*drop->mimeData()))) {
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
        } else {
            if (!allowed)
                m_scheduler.post(this, [this] { finishDrag(); });
            drop->setDropAction(Qt::IgnoreAction);
            drop->ignore();
        }
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace talvo
