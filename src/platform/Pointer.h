#pragma once

#include <QPoint>
#include <QPointF>
#include <Qt>

#include <optional>

namespace talvo {

// One look at the pointer, for telling whether anything changed since the
// last look: two equal samples mean it neither moved nor changed buttons.
// Positions are in the display server's own units; compare them, don't
// place things with them.
struct PointerSample
{
    QPoint position;
    Qt::MouseButtons buttons;

    friend bool operator==(const PointerSample &, const PointerSample &) = default;
};

// The pointer as the whole desktop sees it, whichever program it is over.
//
// position() and pressedButtons() are for the main thread only; each call asks
// the display server, so values are current.
class Pointer
{
public:
    virtual ~Pointer() = default;

    // Global position in Qt's coordinates (logical pixels, origin top left).
    virtual QPointF position() const = 0;
    // The mouse buttons held down right now; none when nothing is pressed.
    virtual Qt::MouseButtons pressedButtons() const = 0;
    // A look at the pointer from any thread, without waking the main thread;
    // empty when the display server cannot be asked.
    virtual std::optional<PointerSample> sample() const = 0;
};

} // namespace talvo
