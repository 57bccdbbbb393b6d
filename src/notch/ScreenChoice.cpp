#include "ScreenChoice.h"

namespace talvo {

std::optional<ScreenInfo> chooseScreen(const Screens &screens, const std::optional<ScreenInfo> &pinned)
{
    const QList<ScreenInfo> all = screens.screens();
    if (pinned && pinned->number != 0) {
        for (const ScreenInfo &screen : all) {
            if (screen.number == pinned->number)
                return screen;
        }
    }
    if (const auto main = screens.mainScreen())
        return main;
    if (!all.isEmpty())
        return all.first();
    return std::nullopt;
}

} // namespace talvo
