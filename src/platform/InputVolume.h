#pragma once

#include "platform/PlatformResult.h"

namespace talvo {

// The desktop's default input (microphone): its volume in percent of the
// nominal volume (above 100 on a boosted input) and its mute flag.
//
// Every call blocks until the sound server answers (bounded in time) and may
// run on any thread: callers keep them off the main thread.
class InputVolume
{
public:
    virtual ~InputVolume() = default;

    virtual PlatformResult<int> volumePercent() = 0;
    // Values below 0 set 0; values above 100 boost the input.
    virtual PlatformResult<> setVolumePercent(int percent) = 0;
    virtual PlatformResult<bool> isMuted() = 0;
    virtual PlatformResult<> setMuted(bool muted) = 0;
};

} // namespace talvo
