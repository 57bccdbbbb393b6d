#pragma once

#include "fakes/FakeApplicationCatalog.h"
#include "fakes/FakeContentTypes.h"
#include "fakes/FakeDragSelection.h"
#include "fakes/FakeEventMonitors.h"
#include "fakes/FakeHapticFeedback.h"
#include "fakes/FakeNotchWindowSurface.h"
#include "fakes/FakePointer.h"
#include "fakes/FakeScreens.h"
#include "fakes/FakeSoundPlayer.h"
#include "fakes/FakeThumbnailer.h"
#include "fakes/MemoryPreferencesStorage.h"
#include "fakes/VirtualScheduler.h"
#include "fakes/VirtualTimerQueue.h"
#include "notch/NotchViewModel.h"
#include "notch/NotchWindowController.h"
#include "platform/SystemEvents.h"
#include "preferences/Preferences.h"

#include <memory>

namespace talvo {

// A notch view model with every service it needs faked; time stands still
// until the test moves it.
struct FakeShelfServices
{
    explicit FakeShelfServices(QJsonObject prefs = {}) : storage(std::move(prefs)) {}

    // What the shelf holds, one summary line per item.
    QStringList shelf() const
    {
        QStringList lines;
        for (const ShelfItem &item : vm.itemList())
            lines.append(item.summary());
        return lines;
    }

    VirtualScheduler scheduler;
    MemoryPreferencesStorage storage;
    Preferences preferences{storage};
    FakeContentTypes types;
    FakeThumbnailer thumbnails;
    FakeSoundPlayer sounds;
    FakeApplicationCatalog apps;
    NotchViewModel vm{scheduler, preferences, types, thumbnails, sounds, apps};
};

// ... and its window controller, by default on one 1920 x 1080 screen with the
// pointer far below the notch.
struct FakeNotchServices : FakeShelfServices
{
    explicit FakeNotchServices(QJsonObject prefs = {},
                               QList<ScreenInfo> screenList = {FakeScreens::screen(1, QRectF(0, 0, 1920, 1080))})
        : FakeShelfServices(std::move(prefs)), screens(std::move(screenList))
    {
        pointer.pos = QPointF(960, 700);
        controller = std::make_unique<NotchWindowController>(
            vm, preferences,
            NotchPlatform{scheduler, queue, screens, pointer, monitors, drag, window, system, haptics});
        scheduler.runPending();
    }

    VirtualTimerQueue queue{scheduler};
    FakeScreens screens;
    FakePointer pointer;
    FakeEventMonitors monitors;
    FakeDragSelection drag;
    FakeNotchWindowSurface window;
    SystemEvents system;
    FakeHapticFeedback haptics;
    std::unique_ptr<NotchWindowController> controller;
};

} // namespace talvo
