#pragma once

#include "platform/HapticFeedback.h"

namespace talvo {

// Linux desktops offer no haptic feedback to programs.
class NullHapticFeedback final : public HapticFeedback
{
public:
    void perform() override {}
};

} // namespace talvo
