target_sources(talvo_platform_linux PRIVATE
    platform/linux/ArtworkReader.cpp platform/linux/ArtworkReader.h
    platform/linux/AtomicFile.cpp platform/linux/AtomicFile.h
    platform/linux/CanberraSoundPlayer.cpp platform/linux/CanberraSoundPlayer.h
    platform/linux/DBusControlBus.cpp platform/linux/DBusControlBus.h
    platform/linux/DBusControlClient.cpp platform/linux/DBusControlClient.h
    platform/linux/DisplayCheck.cpp platform/linux/DisplayCheck.h
    platform/linux/DesktopApplicationCatalog.cpp platform/linux/DesktopApplicationCatalog.h
    platform/linux/DesktopEntryIcon.cpp platform/linux/DesktopEntryIcon.h
    platform/linux/DesktopFileOpener.cpp platform/linux/DesktopFileOpener.h
    platform/linux/DesktopSettingsOpener.cpp platform/linux/DesktopSettingsOpener.h
    platform/linux/FreedesktopContentTypes.cpp platform/linux/FreedesktopContentTypes.h
    platform/linux/FreedesktopThumbnailer.cpp platform/linux/FreedesktopThumbnailer.h
    platform/linux/FunctionImageProvider.cpp platform/linux/FunctionImageProvider.h
    platform/linux/HelperFolderChooser.cpp platform/linux/HelperFolderChooser.h
    platform/linux/HelperProcess.cpp platform/linux/HelperProcess.h
    platform/linux/HelperStatusItemHost.cpp platform/linux/HelperStatusItemHost.h
    platform/linux/IcalCalendarCache.cpp platform/linux/IcalCalendarCache.h
    platform/linux/IcalCalendarFile.cpp platform/linux/IcalCalendarFile.h
    platform/linux/IcalCalendarStore.cpp platform/linux/IcalCalendarStore.h
    platform/linux/InodeFolderBookmarks.cpp platform/linux/InodeFolderBookmarks.h
    platform/linux/LinuxSystemActions.cpp platform/linux/LinuxSystemActions.h
    platform/linux/JsonFilePreferencesStorage.cpp platform/linux/JsonFilePreferencesStorage.h
    platform/linux/LinuxSystemEvents.cpp platform/linux/LinuxSystemEvents.h
    platform/linux/MprisMediaPlayers.cpp platform/linux/MprisMediaPlayers.h
    platform/linux/MprisPlayer.cpp platform/linux/MprisPlayer.h
    platform/linux/MprisPlayers.cpp platform/linux/MprisPlayers.h
    platform/linux/NetworkHttpClient.cpp platform/linux/NetworkHttpClient.h
    platform/linux/NominatimReverseGeocoder.cpp platform/linux/NominatimReverseGeocoder.h
    platform/linux/NullHapticFeedback.h
    platform/linux/PosixFolderLister.cpp platform/linux/PosixFolderLister.h
    platform/linux/PulseAudioInput.cpp platform/linux/PulseAudioInput.h
    platform/linux/QtClipboard.cpp platform/linux/QtClipboard.h
    platform/linux/QtDragSessions.cpp platform/linux/QtDragSessions.h
    platform/linux/QtPositioningLocationService.cpp platform/linux/QtPositioningLocationService.h
    platform/linux/QtScreens.cpp platform/linux/QtScreens.h
    platform/linux/QuickAppWindows.cpp platform/linux/QuickAppWindows.h
    platform/linux/ScreenColorSampler.cpp platform/linux/ScreenColorSampler.h
    platform/linux/ServiceAddresses.cpp platform/linux/ServiceAddresses.h
    platform/linux/UPowerPowerSource.cpp platform/linux/UPowerPowerSource.h
    platform/linux/TrashEmptier.cpp platform/linux/TrashEmptier.h
    platform/linux/UnixSignalWatcher.cpp platform/linux/UnixSignalWatcher.h
    platform/linux/X11DragSelection.cpp platform/linux/X11DragSelection.h
    platform/linux/X11EventMonitors.cpp platform/linux/X11EventMonitors.h
    platform/linux/X11NotchWindow.cpp platform/linux/X11NotchWindow.h
    platform/linux/X11PacedPointerSampler.cpp platform/linux/X11PacedPointerSampler.h
    platform/linux/X11Pointer.cpp platform/linux/X11Pointer.h
    platform/linux/XcbConnection.cpp platform/linux/XcbConnection.h
    platform/linux/DisplayLoss.cpp platform/linux/DisplayLoss.h
    platform/linux/FatalSignalReport.cpp platform/linux/FatalSignalReport.h
    platform/linux/HeapRelease.cpp platform/linux/HeapRelease.h
    platform/linux/XdgAutostartLoginItem.cpp platform/linux/XdgAutostartLoginItem.h
)
qt_add_resources(talvo_platform_linux "talvo_data" PREFIX "/talvo" BASE "${CMAKE_SOURCE_DIR}/data"
    FILES "${CMAKE_SOURCE_DIR}/data/com.talvo.Talvo.svg")

set(TALVO_FORECAST_URL "https://api.open-meteo.com" CACHE STRING
    "Forecast service (scheme, host, optional path prefix); TALVO_FORECAST_URL in the environment overrides it")
set(TALVO_GEOCODER_URL "https://nominatim.openstreetmap.org" CACHE STRING
    "Nominatim-compatible reverse geocoder; TALVO_GEOCODER_URL in the environment overrides it")
set(TALVO_UPDATE_FEED_URL "" CACHE STRING
    "Update feed (RSS appcast); TALVO_UPDATE_FEED_URL in the environment overrides it; empty: no checks")
set_property(SOURCE platform/linux/ServiceAddresses.cpp APPEND PROPERTY COMPILE_DEFINITIONS
    TALVO_DEFAULT_UPDATE_FEED_URL="${TALVO_UPDATE_FEED_URL}"
    TALVO_DEFAULT_FORECAST_URL="${TALVO_FORECAST_URL}"
    TALVO_DEFAULT_GEOCODER_URL="${TALVO_GEOCODER_URL}"
    TALVO_VERSION_STRING="${PROJECT_VERSION}")
