target_sources(talvo_core PRIVATE
    app/AppDelegate.cpp app/AppDelegate.h
    app/Appcast.cpp app/Appcast.h
    app/PreferenceKeys.cpp app/PreferenceKeys.h
    app/PreferenceValue.cpp app/PreferenceValue.h
    app/Preferences.cpp app/Preferences.h
    app/PrefsCommand.cpp app/PrefsCommand.h
    app/TalvoUpdater.cpp app/TalvoUpdater.h
)
