#pragma once

#include "platform/Screens.h"

#include <optional>

namespace talvo {

// The screen the notch goes on: `pinned` while an output of its number is still
// connected (with that output's current geometry), else the main screen, else
// the first; nothing while there is no screen. Outputs without a number are
// never taken for the pinned one.
std::optional<ScreenInfo> chooseScreen(const Screens &screens, const std::optional<ScreenInfo> &pinned = std::nullopt);

} // namespace talvo
