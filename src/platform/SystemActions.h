#pragma once

#include "platform/PlatformResult.h"

namespace talvo {

// Actions on the desktop session the user can trigger from the notch.
//
// Every call blocks until the desktop has carried it out or refused it
// (bounded in time) and may run on any thread: callers keep them off the main
// thread and log a failure's description.
class SystemActions
{
public:
    virtual ~SystemActions() = default;

    virtual PlatformResult<> lockScreen() = 0;
    virtual PlatformResult<> suspend() = 0;
    // Switches the desktop between its light and dark appearance.
    virtual PlatformResult<> toggleDarkMode() = 0;
    virtual PlatformResult<> emptyTrash() = 0;
};

} // namespace talvo
