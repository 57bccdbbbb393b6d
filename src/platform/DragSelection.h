#pragma once

#include <QStringList>

namespace talvo {

// What the desktop knows about the drag-and-drop session of any program.
//
// Main thread only.
class DragSelection
{
public:
    virtual ~DragSelection() = default;

    // Bumped whenever some program starts a new drag (takes over the drag
    // selection) or the drag data goes away; never decreases.
    virtual qint64 changeCount() const = 0;
    // MIME types offered by the drag behind the current change count; empty
    // while unknown or when the source offers nothing readable.
    virtual QStringList types() const = 0;
};

} // namespace talvo
