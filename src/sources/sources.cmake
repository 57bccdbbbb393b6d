# Sources of this subsystem are added to talvo_core here.
target_sources(talvo_core PRIVATE
    sources/MicManager.cpp sources/MicManager.h
    sources/WeatherCondition.cpp sources/WeatherCondition.h
    sources/WeatherForecast.cpp sources/WeatherForecast.h
    sources/WeatherManager.cpp sources/WeatherManager.h
    sources/ClipboardHistoryModel.cpp sources/ClipboardHistoryModel.h
    sources/ClipboardItem.h
    sources/ClipboardManager.cpp sources/ClipboardManager.h
    sources/ClipboardType.h
    sources/RecentFilesManager.cpp sources/RecentFilesManager.h
    sources/RecentFilesModel.cpp sources/RecentFilesModel.h
)
target_sources(talvo_core PRIVATE
    sources/CalendarTime.cpp sources/CalendarTime.h
    sources/NotchCalendarManager.cpp sources/NotchCalendarManager.h
    sources/NotchEventListModel.cpp sources/NotchEventListModel.h
    sources/NotchEventModel.cpp sources/NotchEventModel.h
)
target_sources(talvo_core PRIVATE
    sources/ArtworkImage.cpp sources/ArtworkImage.h
    sources/NowPlayingManager.cpp sources/NowPlayingManager.h
)
