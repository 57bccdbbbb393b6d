target_sources(talvo_core PRIVATE
    preferences/PreferenceKeys.cpp preferences/PreferenceKeys.h
    preferences/PreferenceValue.cpp preferences/PreferenceValue.h
    preferences/Preferences.cpp preferences/Preferences.h
)
