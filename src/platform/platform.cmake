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
    platform/ScriptRunner.h
    platform/GeoCoordinate.h
    platform/HttpClient.h
    platform/LocationService.h
    platform/ReverseGeocoder.h
    platform/SystemSettingsOpener.h
)
target_sources(talvo_platform PRIVATE
    platform/PlayerNotifications.h
    platform/PlayerScripts.cpp platform/PlayerScripts.h
    platform/RunningApplications.h
)
