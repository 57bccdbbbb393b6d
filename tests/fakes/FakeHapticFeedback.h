#pragma once

#include "platform/HapticFeedback.h"

namespace talvo {

class FakeHapticFeedback final : public HapticFeedback
{
public:
    void perform() override { ++performed; }
    int performed = 0;
};

} // namespace talvo
