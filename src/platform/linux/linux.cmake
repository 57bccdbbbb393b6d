target_sources(talvo_platform_linux PRIVATE
    platform/linux/JsonFilePreferencesStorage.cpp platform/linux/JsonFilePreferencesStorage.h
    platform/linux/UnixSignalWatcher.cpp platform/linux/UnixSignalWatcher.h
)
target_sources(talvo_platform_linux PRIVATE
    platform/linux/MicScriptHandler.cpp platform/linux/MicScriptHandler.h
    platform/linux/PulseAudioInput.cpp platform/linux/PulseAudioInput.h
    platform/linux/ScriptBridge.cpp platform/linux/ScriptBridge.h
)
