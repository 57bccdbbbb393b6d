target_sources(talvo_platform_linux PRIVATE
    platform/linux/JsonFilePreferencesStorage.cpp platform/linux/JsonFilePreferencesStorage.h
    platform/linux/UnixSignalWatcher.cpp platform/linux/UnixSignalWatcher.h
)
target_sources(talvo_platform_linux PRIVATE
    platform/linux/IcalCalendarCache.cpp platform/linux/IcalCalendarCache.h
    platform/linux/IcalCalendarFile.cpp platform/linux/IcalCalendarFile.h
    platform/linux/IcalCalendarStore.cpp platform/linux/IcalCalendarStore.h
)
