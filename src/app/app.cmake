target_sources(talvo_core PRIVATE
    app/AppDelegate.cpp app/AppDelegate.h
    app/Appcast.cpp app/Appcast.h
    app/PrefsCommand.cpp app/PrefsCommand.h
    app/TalvoUpdater.cpp app/TalvoUpdater.h
)
