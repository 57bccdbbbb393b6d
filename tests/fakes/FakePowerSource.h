#pragma once

#include "platform/PowerSource.h"

namespace talvo {

class FakePowerSource final : public PowerSource
{
public:
    std::optional<double> batteryLevel() const override { return level; }
    void setLevel(std::optional<double> value)
    {
        level = value;
        emit changed();
    }

    std::optional<double> level;
};

} // namespace talvo
