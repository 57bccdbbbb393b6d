# Sources of this subsystem are added to talvo_core here.
target_sources(talvo_core PRIVATE
    sources/MicManager.cpp sources/MicManager.h
    sources/WeatherCondition.cpp sources/WeatherCondition.h
    sources/WeatherForecast.cpp sources/WeatherForecast.h
    sources/WeatherManager.cpp sources/WeatherManager.h
)
target_sources(talvo_core PRIVATE
    sources/ArtworkImage.cpp sources/ArtworkImage.h
    sources/NowPlayingManager.cpp sources/NowPlayingManager.h
    sources/PlayerQueryResult.cpp sources/PlayerQueryResult.h
)
