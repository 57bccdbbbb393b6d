#include "FileDragTracker.h"

#include "DragData.h"
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

FileDragTracker::FileDragTracker(NotchViewModel &viewModel, DragSelection &dragSelection, Pointer &pointer,
                                 std::function<void()> unknownKindChanged)
    : m_viewModel(viewModel)
    , m_dragSelection(dragSelection)
    , m_pointer(pointer)
    , m_unknownKindChanged(std::move(unknownKindChanged))
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

bool FileDragTracker::carriesFiles(const QStringList &offered, const std::optional<QByteArray> &uriList)
{
    const QStringList &types = fileDragTypes();
    if (std::none_of(types.cbegin(), types.cend(), [&](const QString &type) { return offered.contains(type); }))
        return false;
    // A list that could not be read (sent empty) leaves it to the types.
    if (uriList && !uriList->trimmed().isEmpty())
        return !localFileUrls(*uriList).isEmpty();
    return true;
}

bool FileDragTracker::isForFavorites(const NotchViewModel &viewModel, const std::optional<QByteArray> &uriList)
{
    // The file-drag flag is left out: the type may have set it before the
    // URL list arrived.
    return viewModel.isHovering() && viewModel.isFullyExpanded()
           && viewModel.activeTab() == NotchViewModel::NotchPanelTab::Shortcuts && uriList
           && namesOnlyApplicationEntries(*uriList);
}

void FileDragTracker::handleEvent(const PointerEvent &event)
{
    if (m_viewModel.isShelfItemDragActive())
        return;
    if (isMouseUp(event.type)) {
        finish();
        return;
    }
    if (isMouseDragged(event.type))
        decide();
}

void FileDragTracker::selectionChanged()
{
    // The source's answer may come while the pointer stands still.
    if (!m_viewModel.isShelfItemDragActive() && m_pointer.pressedButtons() != Qt::NoButton)
        decide();
}

void FileDragTracker::decide()
{
    const qint64 changeCount = m_dragSelection.changeCount();
    // The selection still holds a drag that has ended (the user may now be
    // selecting text by dragging): not a new drag.
    if (!m_viewModel.isFileDragActive() && !m_unknownKind && changeCount == m_lastCompletedChangeCount)
        return;
    if (m_dragSelection.isAsking())
        return;
    if (!m_dragSelection.typesKnown()) {
        if (!m_viewModel.isFileDragActive() && m_arrivedChangeCount != changeCount) {
            m_activeChangeCount = changeCount;
            setUnknownKind(true);
        }
        return;
    }
    if (!carriesFiles(m_dragSelection.types(), m_dragSelection.uriList())
        || isForFavorites(m_viewModel, m_dragSelection.uriList())) {
        // A slow source's URL list may show web links (or application
        // entries for the favourites) only after its types made this drag a
        // file drag; the notch window's own reading stands.
        if (m_activeChangeCount == changeCount && m_arrivedChangeCount != changeCount) {
            setUnknownKind(false);
            setFileDragActive(false);
        }
        return;
    }
    m_activeChangeCount = changeCount;
    setUnknownKind(false);
    setFileDragActive(true);
}

void FileDragTracker::typesArrived(bool carriesFiles)
{
    m_arrivedChangeCount = m_dragSelection.changeCount();
    setUnknownKind(false);
    if (carriesFiles)
        setFileDragActive(true);
}

void FileDragTracker::finish()
{
    m_lastCompletedChangeCount = m_activeChangeCount.value_or(m_dragSelection.changeCount());
    m_activeChangeCount.reset();
    setUnknownKind(false);
    setFileDragActive(false);
    // A text or picture drag too: a source that quits mid-drag never says it
    // left, and its drop target would stay over the notch.
    m_viewModel.setIsDragTargetActive(false);
}

void FileDragTracker::checkDragEnded()
{
    if ((m_viewModel.isFileDragActive() || m_unknownKind || m_viewModel.isDragTargetActive())
        && m_pointer.pressedButtons() == Qt::NoButton)
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

void FileDragTracker::setUnknownKind(bool active)
{
    if (m_unknownKind == active)
        return;
    m_unknownKind = active;
    if (m_unknownKindChanged)
        m_unknownKindChanged();
}

} // namespace talvo
