#pragma once

#include <QFlags>
#include <QPointF>

namespace talvo {

// The kinds of pointer event the event monitors deliver. "Dragged" is a
// motion with that button held; "Other" is any button but left and right.
enum class PointerEventType : quint32 {
    LeftMouseDown = 1u << 0,
    LeftMouseUp = 1u << 1,
    RightMouseDown = 1u << 2,
    RightMouseUp = 1u << 3,
    OtherMouseDown = 1u << 4,
    OtherMouseUp = 1u << 5,
    MouseMoved = 1u << 6,
    LeftMouseDragged = 1u << 7,
    RightMouseDragged = 1u << 8,
    OtherMouseDragged = 1u << 9,
    ScrollWheel = 1u << 10,
    MouseEntered = 1u << 11,
    MouseExited = 1u << 12,
};
Q_DECLARE_FLAGS(PointerEventTypes, PointerEventType)
Q_DECLARE_OPERATORS_FOR_FLAGS(PointerEventTypes)

// One pointer event. It carries no position: receivers that need one ask the
// Pointer service, as the event may describe a motion that has already gone on.
struct PointerEvent
{
    PointerEventType type = PointerEventType::MouseMoved;
    // Scroll amount in lines (a wheel notch is one line); positive is up and
    // left. Zero for other events.
    QPointF delta;
    // Scroll amount as the device reports it: pixels when
    // hasPreciseScrollingDeltas (touchpads), otherwise the same as delta.
    QPointF scrollingDelta;
    bool hasPreciseScrollingDeltas = false;

    static PointerEvent of(PointerEventType type) { return PointerEvent{type, {}, {}, false}; }
    static PointerEvent wheel(qreal lines) { return PointerEvent{PointerEventType::ScrollWheel, {0, lines}, {0, lines}, false}; }
    static PointerEvent preciseScroll(qreal pixels, qreal lines)
    {
        return PointerEvent{PointerEventType::ScrollWheel, {0, lines}, {0, pixels}, true};
    }
};

} // namespace talvo
