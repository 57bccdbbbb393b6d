#pragma once

#include "platform/PlatformResult.h"

namespace talvo {

// The desktop's default input (microphone): its volume in percent of the
// nominal volume (0-100) and its mute flag.
//
// Every call blocks until the sound server answers (bounded in time) and may
// run on any thread: callers keep them off the main thread.
class InputVolume
{
public:
    virtual ~InputVolume() = default;

    virtual PlatformResult<int> volumePercent() = 0;
    // Values outside 0-100 are clamped.
    virtual PlatformResult<> setVolumePercent(int percent) = 0;
    virtual PlatformResult<bool> isMuted() = 0;
    virtual PlatformResult<> setMuted(bool muted) = 0;
};

} // namespace talvo
