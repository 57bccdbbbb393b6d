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

    QPointF pos;
    Qt::MouseButtons buttons = Qt::NoButton;
    mutable int positionReads = 0;
};

} // namespace talvo
