#include "FileDragTracker.h"

#include "NotchViewModel.h"
#include "platform/DragSelection.h"
#include "platform/Pointer.h"

#include <algorithm>

namespace talvo {

namespace {

bool isMouseUp(PointerEventType type)
{
    return type == PointerEventType::LeftMouseUp || type == PointerEventType::RightMouseUp
           || type == PointerEventType::OtherMouseUp;
}

bool isMouseDragged(PointerEventType type)
{
    return type == PointerEventType::LeftMouseDragged || type == PointerEventType::RightMouseDragged
           || type == PointerEventType::OtherMouseDragged;
}

} // namespace

FileDragTracker::FileDragTracker(NotchViewModel &viewModel, DragSelection &dragSelection, Pointer &pointer)
    : m_viewModel(viewModel)
    , m_dragSelection(dragSelection)
    , m_pointer(pointer)
    , m_lastCompletedChangeCount(dragSelection.changeCount())
{
}

const QStringList &FileDragTracker::fileDragTypes()
{
    static const QStringList types{
        QStringLiteral("text/uri-list"),
        QStringLiteral("application/x-kde4-urilist"),
        QStringLiteral("x-special/gnome-copied-files"),
        QStringLiteral("application/vnd.portal.filetransfer"),
        QStringLiteral("application/vnd.portal.files"),
    };
    return types;
}

bool FileDragTracker::carriesFiles(const QStringList &offered)
{
    const QStringList &types = fileDragTypes();
    return std::any_of(types.cbegin(), types.cend(), [&](const QString &type) { return offered.contains(type); });
}

void FileDragTracker::handleEvent(const PointerEvent &event)
{
    if (m_viewModel.isShelfItemDragActive())
        return;
    if (isMouseUp(event.type)) {
        finish();
        return;
    }
    if (!isMouseDragged(event.type))
        return;

    const qint64 changeCount = m_dragSelection.changeCount();
    if (!carriesFiles(m_dragSelection.types()))
        return;
    // The selection still holds a drag that has ended (the user may now be
    // selecting text by dragging): not a new file drag.
    if (!m_viewModel.isFileDragActive() && changeCount == m_lastCompletedChangeCount)
        return;
    m_activeChangeCount = changeCount;
    setFileDragActive(true);
}

void FileDragTracker::finish()
{
    m_lastCompletedChangeCount = m_activeChangeCount.value_or(m_dragSelection.changeCount());
    m_activeChangeCount.reset();
    setFileDragActive(false);
}

void FileDragTracker::checkDragEnded()
{
    if (m_viewModel.isFileDragActive() && m_pointer.pressedButtons() == Qt::NoButton)
        finish();
}

void FileDragTracker::setFileDragActive(bool active)
{
    if (m_viewModel.isFileDragActive() == active)
        return;
    m_viewModel.setIsFileDragActive(active);
    if (!active)
        m_viewModel.setIsDragTargetActive(false);
}

} // namespace talvo
