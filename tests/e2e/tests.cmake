# Whole-app tests: they start the real executable.
talvo_add_test(tst_appstartup SOURCES e2e/tst_appstartup.cpp GUI)
target_compile_definitions(tst_appstartup PRIVATE TALVO_BINARY="$<TARGET_FILE:talvo>")
add_dependencies(tst_appstartup talvo)
