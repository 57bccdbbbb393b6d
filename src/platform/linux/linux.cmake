target_sources(talvo_platform_linux PRIVATE
    platform/linux/JsonFilePreferencesStorage.cpp platform/linux/JsonFilePreferencesStorage.h
    platform/linux/UnixSignalWatcher.cpp platform/linux/UnixSignalWatcher.h
)
target_sources(talvo_platform_linux PRIVATE
    platform/linux/NetworkHttpClient.cpp platform/linux/NetworkHttpClient.h
)
