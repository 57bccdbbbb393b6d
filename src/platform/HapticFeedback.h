#pragma once

namespace talvo {

// Tactile confirmation on devices that have it (a force-feedback touchpad).
// Desktops without any make perform() do nothing.
//
// Main thread only.
class HapticFeedback
{
public:
    virtual ~HapticFeedback() = default;
    // The generic pattern, at once.
    virtual void perform() = 0;
};

} // namespace talvo
