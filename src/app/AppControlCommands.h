#pragma once

#include "platform/ControlCommands.h"

#include <functional>

namespace talvo {

class NotchViewModel;
class NotchWindowController;

// Carries out the control interface's commands on the running program's
// notch, shelf and windows.
class AppControlCommands final : public ControlCommands
{
public:
    // `showSettings` opens settings on a page named as the sidebar names it
    // ("General"), or where they are when empty.
    AppControlCommands(NotchWindowController &controller, std::function<void(const QString &)> showSettings,
                       std::function<void()> quit);

    PlatformResult<> open(const QString &tab) override;
    PlatformResult<> collapse() override;
    PlatformResult<> addPaths(const QStringList &paths) override;
    PlatformResult<> addText(const QString &text) override;
    PlatformResult<> showSettings(const QString &page) override;
    PlatformResult<> quit() override;

    // The settings pages by the names the commands take, lower case.
    static QStringList settingsPages();

private:
    NotchWindowController &m_controller;
    NotchViewModel &m_viewModel;
    std::function<void(const QString &)> m_showSettings;
    std::function<void()> m_quit;
};

} // namespace talvo
