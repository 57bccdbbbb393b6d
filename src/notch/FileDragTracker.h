#pragma once

#include "platform/PointerEvent.h"

#include <QStringList>

#include <optional>

namespace talvo {

class DragSelection;
class NotchViewModel;
class Pointer;

// Tells from the desktop's pointer events and drag selection when some program
// drags files, and keeps the view model's file-drag flag in step. A drag counts
// once: its change count of the drag selection is remembered when it ends, so
// that dragging later (selecting text, say) while the selection still holds the
// finished drag does not start another.
//
// Main thread only.
class FileDragTracker
{
public:
    FileDragTracker(NotchViewModel &viewModel, DragSelection &dragSelection, Pointer &pointer);

    // Drag types that carry files.
    static const QStringList &fileDragTypes();
    static bool carriesFiles(const QStringList &offered);

    // A pointer event of the whole desktop: a drag may start, a release ends it.
    void handleEvent(const PointerEvent &event);
    // Ends a drag whose release nobody reported (the poll's check).
    void checkDragEnded();
    // Ends the bookkeeping of a file drag as a mouse-up does.
    void finish();
    void setFileDragActive(bool active);

    std::optional<qint64> activeChangeCount() const { return m_activeChangeCount; }
    qint64 lastCompletedChangeCount() const { return m_lastCompletedChangeCount; }

private:
    NotchViewModel &m_viewModel;
    DragSelection &m_dragSelection;
    Pointer &m_pointer;
    std::optional<qint64> m_activeChangeCount;
    qint64 m_lastCompletedChangeCount;
};

} // namespace talvo
