#pragma once

#include "platform/AppWindows.h"

namespace talvo {

// Status items as system-tray icons, each shown by a helper program of its own
// (talvo-helper status-item) so that Talvo itself never loads Qt Widgets. An
// item has no menu: a click activates it. The item goes when its helper's
// standard input closes, which also happens when Talvo ends.
class HelperStatusItemHost final : public StatusItemHost
{
public:
    explicit HelperStatusItemHost(QString helperProgram) : m_helperProgram(std::move(helperProgram)) {}

    std::unique_ptr<StatusItem> addStatusItem(const QString &symbolName, const QString &toolTip,
                                              std::function<void()> onActivate) override;

private:
    QString m_helperProgram;
};

} // namespace talvo
