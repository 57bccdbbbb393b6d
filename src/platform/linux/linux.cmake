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
