#pragma once

#include "platform/PointerEvent.h"

#include <QByteArray>
#include <QStringList>

#include <functional>
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
// A drag is decided once its source has been asked what it offers (a short
// while at most). A drag whose types stay unknown is one of unknown kind: the
// notch must take it (the source tells its types only to the window under the
// pointer) but shows no file-drag hint until the drag reaches the notch window
// with its types, typesArrived().
//
// Main thread only.
class FileDragTracker
{
public:
    // `unknownKindChanged` runs whenever isUnknownKindActive() changes.
    FileDragTracker(NotchViewModel &viewModel, DragSelection &dragSelection, Pointer &pointer,
                    std::function<void()> unknownKindChanged = {});

    // Drag types that carry files.
    static const QStringList &fileDragTypes();
    // A drag carries files when it offers one of the file types and its URL
    // list, when one could be read, names at least one local file: web links
    // alone do not count.
    static bool carriesFiles(const QStringList &offered, const std::optional<QByteArray> &uriList = std::nullopt);
    // While the open panel shows the shortcuts tab, a drag of application
    // entries alone is for the favourite apps there, not for the shelf.
    static bool isForFavorites(const NotchViewModel &viewModel, const std::optional<QByteArray> &uriList);

    // A pointer event of the whole desktop: a drag may start, a release ends it.
    void handleEvent(const PointerEvent &event);
    // The drag selection learnt more of the drag; decides it while the
    // buttons are held.
    void selectionChanged();
    // The drag reached the notch window, which learnt its types.
    void typesArrived(bool carriesFiles);
    // Ends a drag whose release nobody reported (the poll's check).
    void checkDragEnded();
    // Ends the bookkeeping of a file drag as a mouse-up does.
    void finish();
    void setFileDragActive(bool active);

    // A drag of unknown kind is in progress.
    bool isUnknownKindActive() const { return m_unknownKind; }
    std::optional<qint64> activeChangeCount() const { return m_activeChangeCount; }
    qint64 lastCompletedChangeCount() const { return m_lastCompletedChangeCount; }

private:
    void decide();
    void setUnknownKind(bool active);

    NotchViewModel &m_viewModel;
    DragSelection &m_dragSelection;
    Pointer &m_pointer;
    std::function<void()> m_unknownKindChanged;
    std::optional<qint64> m_activeChangeCount;
    qint64 m_lastCompletedChangeCount;
    bool m_unknownKind = false;
    // The drag whose types the notch window has learnt.
    std::optional<qint64> m_arrivedChangeCount;
};

} // namespace talvo
