target_sources(talvo_platform_linux PRIVATE
    platform/linux/JsonFilePreferencesStorage.cpp platform/linux/JsonFilePreferencesStorage.h
    platform/linux/UnixSignalWatcher.cpp platform/linux/UnixSignalWatcher.h
)
target_sources(talvo_platform_linux PRIVATE
    platform/linux/NetworkHttpClient.cpp platform/linux/NetworkHttpClient.h
)
target_sources(talvo_platform_linux PRIVATE
    platform/linux/DesktopSettingsOpener.cpp platform/linux/DesktopSettingsOpener.h
    platform/linux/NominatimReverseGeocoder.cpp platform/linux/NominatimReverseGeocoder.h
    platform/linux/QtPositioningLocationService.cpp platform/linux/QtPositioningLocationService.h
    platform/linux/ServiceAddresses.cpp platform/linux/ServiceAddresses.h
)
set(TALVO_FORECAST_URL "https://api.open-meteo.com" CACHE STRING
    "Forecast service (scheme, host, optional path prefix); TALVO_FORECAST_URL in the environment overrides it")
set(TALVO_GEOCODER_URL "https://nominatim.openstreetmap.org" CACHE STRING
    "Nominatim-compatible reverse geocoder; TALVO_GEOCODER_URL in the environment overrides it")
set_property(SOURCE platform/linux/ServiceAddresses.cpp APPEND PROPERTY COMPILE_DEFINITIONS
    TALVO_DEFAULT_FORECAST_URL="${TALVO_FORECAST_URL}"
    TALVO_DEFAULT_GEOCODER_URL="${TALVO_GEOCODER_URL}"
    TALVO_VERSION_STRING="${PROJECT_VERSION}")
