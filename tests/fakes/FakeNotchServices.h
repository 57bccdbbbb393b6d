#pragma once

#include "app/Preferences.h"
#include "fakes/FakeApplicationCatalog.h"
#include "fakes/FakeContentTypes.h"
#include "fakes/FakeDragPasteboard.h"
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

#include <memory>

namespace talvo {

// A notch view model and its window controller on one 1920 x 1080 screen, with
// every service faked and time standing still until the test moves it. The
// pointer starts far below the notch with the left button held.
struct FakeNotchServices
{
    FakeNotchServices()
    {
        pointer.pos = QPointF(960, 700);
        pointer.buttons = Qt::LeftButton;
        controller = std::make_unique<NotchWindowController>(
            vm, preferences,
            NotchPlatform{scheduler, queue, screens, pointer, monitors, pasteboard, window, system, haptics});
        scheduler.runPending();
    }

    // What the shelf holds, one summary line per item.
    QStringList shelf() const
    {
        QStringList lines;
        for (const ShelfItem &item : vm.itemList())
            lines.append(item.summary());
        return lines;
    }

    VirtualScheduler scheduler;
    VirtualTimerQueue queue{scheduler};
    MemoryPreferencesStorage storage;
    Preferences preferences{storage};
    FakeContentTypes types;
    FakeThumbnailer thumbnails;
    FakeSoundPlayer sounds;
    FakeApplicationCatalog apps;
    NotchViewModel vm{scheduler, preferences, types, thumbnails, sounds, apps};
    FakeScreens screens{{FakeScreens::screen(1, QRectF(0, 0, 1920, 1080))}};
    FakePointer pointer;
    FakeEventMonitors monitors;
    FakeDragPasteboard pasteboard;
    FakeNotchWindowSurface window;
    SystemEvents system;
    FakeHapticFeedback haptics;
    std::unique_ptr<NotchWindowController> controller;
};

} // namespace talvo
