target_sources(talvo_platform_linux PRIVATE
    platform/linux/JsonFilePreferencesStorage.cpp platform/linux/JsonFilePreferencesStorage.h
    platform/linux/UnixSignalWatcher.cpp platform/linux/UnixSignalWatcher.h
)
target_sources(talvo_platform_linux PRIVATE
    platform/linux/FreedesktopContentTypes.cpp platform/linux/FreedesktopContentTypes.h
    platform/linux/FreedesktopThumbnailer.cpp platform/linux/FreedesktopThumbnailer.h
)
target_sources(talvo_platform_linux PRIVATE
    platform/linux/CanberraSoundPlayer.cpp platform/linux/CanberraSoundPlayer.h
)
target_sources(talvo_platform_linux PRIVATE
    platform/linux/DesktopApplicationCatalog.cpp platform/linux/DesktopApplicationCatalog.h
)
target_sources(talvo_platform_linux PRIVATE
    platform/linux/DBusControlBus.cpp platform/linux/DBusControlBus.h
    platform/linux/LinuxSystemEvents.cpp platform/linux/LinuxSystemEvents.h
    platform/linux/NullHapticFeedback.h
    platform/linux/QtScreens.cpp platform/linux/QtScreens.h
    platform/linux/X11DragPasteboard.cpp platform/linux/X11DragPasteboard.h
    platform/linux/X11EventMonitors.cpp platform/linux/X11EventMonitors.h
    platform/linux/X11NotchWindow.cpp platform/linux/X11NotchWindow.h
    platform/linux/X11Pointer.cpp platform/linux/X11Pointer.h
    platform/linux/XcbConnection.cpp platform/linux/XcbConnection.h
)
