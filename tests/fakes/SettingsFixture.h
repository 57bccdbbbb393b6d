#pragma once

#include "fakes/FakeAppServices.h"
#include "fakes/FakeFileOpener.h"
#include "fakes/FakeNotchServices.h"
#include "fakes/FakeScreens.h"
#include "settings/SettingsController.h"

namespace talvo {

inline ScreenInfo plainScreen()
{
    return FakeScreens::screen(1, QRectF(0, 0, 1920, 1080));
}

// The controller over a notch view model, screens, a login item and a
// browser, all faked.
struct SettingsFixture : FakeShelfServices
{
    explicit SettingsFixture(QJsonObject prefs = {}, QList<ScreenInfo> screenList = {plainScreen()})
        : FakeShelfServices(std::move(prefs)), screens(std::move(screenList))
    {
        controller.windowOpened();
    }

    bool isOpen() const { return vm.isForcedOpen() && vm.isHovering() && vm.isFullyExpanded(); }
    bool isClosed() const { return !vm.isForcedOpen() && !vm.isHovering() && !vm.isFullyExpanded(); }

    FakeScreens screens;
    AppJournal journal;
    FakeLoginItemService loginItem{journal};
    FakeFileOpener opener;
    int quits = 0;
    SettingsController controller{SettingsController::Services{preferences, scheduler, vm, screens, loginItem, opener,
                                                               [] { return false; }, [this] { ++quits; },
                                                               QStringLiteral("1.4.0"), QUrl()}};
};

} // namespace talvo
