#pragma once

#include "platform/InputVolume.h"

#include <QList>

#include <algorithm>

namespace talvo {

// A default input whose volume and mute flag the test sets; a non-empty
// `error` makes every call fail. Records the volumes set.
class FakeInputVolume final : public InputVolume
{
public:
    explicit FakeInputVolume(int startVolume = 100) : volume(startVolume) {}

    PlatformResult<int> volumePercent() override
    {
        return error.isEmpty() ? PlatformResult<int>::success(volume) : PlatformResult<int>::failure(error);
    }
    PlatformResult<> setVolumePercent(int percent) override
    {
        volumesSet.append(percent);
        if (!error.isEmpty())
            return PlatformResult<>::failure(error);
        volume = std::max(percent, 0);
        return PlatformResult<>::success();
    }
    PlatformResult<bool> isMuted() override
    {
        return error.isEmpty() ? PlatformResult<bool>::success(muted) : PlatformResult<bool>::failure(error);
    }
    PlatformResult<> setMuted(bool on) override
    {
        if (!error.isEmpty())
            return PlatformResult<>::failure(error);
        muted = on;
        return PlatformResult<>::success();
    }

    int volume;
    bool muted = false;
    QString error;
    QList<int> volumesSet;
};

} // namespace talvo
