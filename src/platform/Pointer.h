#pragma once

#include "Scheduler.h"

#include <QPoint>
#include <QPointF>
#include <Qt>

#include <functional>
#include <optional>

namespace talvo {

class TimerQueue;

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
    // One of a steady stream of looks; runs off the main thread.
    using Look = std::function<void(std::optional<PointerSample>)>;

    virtual ~Pointer() = default;

    // Global position in Qt's coordinates (logical pixels, origin top left).
    virtual QPointF position() const = 0;
    // The mouse buttons held down right now; none when nothing is pressed.
    virtual Qt::MouseButtons pressedButtons() const = 0;
    // A look at the pointer from any thread, without waking the main thread;
    // empty when the display server cannot be asked.
    virtual std::optional<PointerSample> sample() const = 0;

    // Hands `look` a sample every `interval`, the first at once, until the
    // handle is cancelled; the handle keeps TimerQueue::every()'s promise
    // about ticks under way. Looks run on `queue`'s thread unless the display
    // server can pace them itself.
    virtual TimerHandle sampleEvery(TimerQueue &queue, Scheduler::Duration interval, Look look) const;
};

} // namespace talvo
