#pragma once

#include "platform/Pointer.h"

namespace talvo {

// A pointer the test moves and presses; counts how often it was asked.
class FakePointer final : public Pointer
{
public:
    QPointF position() const override
    {
        ++positionReads;
        return pos;
    }
    Qt::MouseButtons pressedButtons() const override { return buttons; }
    std::optional<PointerSample> sample() const override
    {
        ++samples;
        if (!canSample)
            return std::nullopt;
        // Fine units, so that a test's sub-pixel move counts as a move.
        return PointerSample{(pos * 64).toPoint(), buttons};
    }

    QPointF pos;
    Qt::MouseButtons buttons = Qt::NoButton;
    bool canSample = true;
    mutable int positionReads = 0;
    mutable int samples = 0;
};

} // namespace talvo
