target_sources(talvo_platform_linux PRIVATE
    platform/linux/JsonFilePreferencesStorage.cpp platform/linux/JsonFilePreferencesStorage.h
    platform/linux/UnixSignalWatcher.cpp platform/linux/UnixSignalWatcher.h
)
target_sources(talvo_platform_linux PRIVATE
    platform/linux/MicScriptHandler.cpp platform/linux/MicScriptHandler.h
    platform/linux/PulseAudioInput.cpp platform/linux/PulseAudioInput.h
    platform/linux/ScriptBridge.cpp platform/linux/ScriptBridge.h
)
target_sources(talvo_platform_linux PRIVATE
    platform/linux/QuickAppWindows.cpp platform/linux/QuickAppWindows.h
    platform/linux/TrayStatusItemHost.cpp platform/linux/TrayStatusItemHost.h
    platform/linux/XdgAutostartLoginItem.cpp platform/linux/XdgAutostartLoginItem.h
)
qt_add_resources(talvo_platform_linux "talvo_data" PREFIX "/talvo" BASE "${CMAKE_SOURCE_DIR}/data"
    FILES "${CMAKE_SOURCE_DIR}/data/talvo.svg")
target_sources(talvo_platform_linux PRIVATE
    platform/linux/IcalCalendarCache.cpp platform/linux/IcalCalendarCache.h
    platform/linux/IcalCalendarFile.cpp platform/linux/IcalCalendarFile.h
    platform/linux/IcalCalendarStore.cpp platform/linux/IcalCalendarStore.h
)
