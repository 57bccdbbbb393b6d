talvo_add_test(tst_preferences SOURCES app/tst_preferences.cpp)
talvo_add_test(tst_prefscommand SOURCES app/tst_prefscommand.cpp LIBS talvo_platform_linux)
target_compile_definitions(tst_prefscommand PRIVATE TALVO_BINARY="$<TARGET_FILE:talvo>")
add_dependencies(tst_prefscommand talvo)
