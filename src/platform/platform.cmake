target_sources(talvo_platform PRIVATE
    platform/Log.cpp platform/Log.h
    platform/PreferencesStorage.h
    platform/QtScheduler.cpp platform/QtScheduler.h
    platform/Scheduler.h
    platform/SerialWorkQueue.cpp platform/SerialWorkQueue.h
    platform/WorkQueue.h
)
target_sources(talvo_platform PRIVATE
    platform/AppWindows.h
    platform/GeoCoordinate.h
    platform/HttpClient.h
    platform/LocationService.h
    platform/ReverseGeocoder.h
    platform/SystemSettingsOpener.h
    platform/ApplicationCatalog.h
    platform/ContentTypes.h
    platform/SoundPlayer.h
    platform/Thumbnailer.h
    platform/FileOpener.h
    platform/FolderBookmarks.h
    platform/FolderChooser.h
    platform/FolderLister.h
    platform/PowerSource.h
    platform/Clipboard.h
)
target_sources(talvo_platform PRIVATE platform/CalendarStore.h)
target_sources(talvo_platform PRIVATE
    platform/ApplicationId.h
    platform/ControlBus.h
    platform/ControlClient.h
    platform/ControlCommands.h
    platform/DragSelection.h
    platform/EventMonitors.h
    platform/HapticFeedback.h
    platform/NotchWindowSurface.h
    platform/Pointer.cpp platform/Pointer.h
    platform/PointerEvent.h
    platform/Screens.cpp platform/Screens.h
    platform/SystemEvents.h
    platform/ThreadTimerQueue.cpp platform/ThreadTimerQueue.h
    platform/TimerQueue.h
)
target_sources(talvo_platform PRIVATE platform/DragSessions.h)
target_sources(talvo_platform PRIVATE
    platform/InputVolume.h
    platform/MediaPlayers.h
    platform/PlatformResult.h
    platform/SystemActions.h
)
target_sources(talvo_platform PRIVATE platform/ColorSampler.h)
