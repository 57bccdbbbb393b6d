#pragma once

#include "platform/AppWindows.h"

namespace talvo {

// Status items as system-tray icons (StatusNotifierItem where the panel hosts
// them, the XEmbed tray otherwise). An item has no menu: a click activates it.
class TrayStatusItemHost final : public StatusItemHost
{
public:
    std::unique_ptr<StatusItem> addStatusItem(const QString &symbolName, const QString &toolTip,
                                              std::function<void()> onActivate) override;
};

} // namespace talvo
