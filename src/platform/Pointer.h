#pragma once

#include <QPointF>
#include <Qt>

namespace talvo {

// The pointer as the whole desktop sees it, whichever program it is over.
//
// Main thread only. Each call asks the display server, so values are current.
class Pointer
{
public:
    virtual ~Pointer() = default;

    // Global position in Qt's coordinates (logical pixels, origin top left).
    virtual QPointF position() const = 0;
    // The mouse buttons held down right now; none when nothing is pressed.
    virtual Qt::MouseButtons pressedButtons() const = 0;
};

} // namespace talvo
