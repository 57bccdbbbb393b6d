# Whole-app tests: they start the real executable.
talvo_add_test(tst_appstartup SOURCES e2e/tst_appstartup.cpp GUI)
target_compile_definitions(tst_appstartup PRIVATE TALVO_BINARY="$<TARGET_FILE:talvo>")
add_dependencies(tst_appstartup talvo)

# The notch on a private X server, driven through XTest; helper programs stand
# in for other applications (a window below, drag sources).
add_library(talvo_e2e STATIC e2e/E2eDesktop.cpp e2e/E2eDesktop.h e2e/PanelSteps.h e2e/CalendarFiles.h)
target_include_directories(talvo_e2e PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/e2e)
target_link_libraries(talvo_e2e PUBLIC talvo_compiler_flags Qt6::Core Qt6::Gui Qt6::DBus Qt6::Test PkgConfig::XCB)
target_compile_definitions(talvo_e2e PRIVATE TALVO_E2E_SCREENS="${CMAKE_BINARY_DIR}/e2e-screens")
foreach(helper e2e_window e2e_dragsource)
    qt_add_executable(${helper} e2e/helpers/${helper}.cpp)
    target_link_libraries(${helper} PRIVATE talvo_compiler_flags Qt6::Gui)
endforeach()
talvo_add_test(tst_notchdesktop SOURCES e2e/tst_notchdesktop.cpp LIBS talvo_e2e TIMEOUT 400)
target_compile_definitions(tst_notchdesktop PRIVATE TALVO_BINARY="$<TARGET_FILE:talvo>"
    TALVO_E2E_WINDOW="$<TARGET_FILE:e2e_window>" TALVO_E2E_DRAGSOURCE="$<TARGET_FILE:e2e_dragsource>")
add_dependencies(tst_notchdesktop talvo e2e_window e2e_dragsource)
talvo_add_test(tst_notchbody SOURCES e2e/tst_notchbody.cpp e2e/NotchBodyMeasure.h LIBS talvo_e2e TIMEOUT 300)
target_compile_definitions(tst_notchbody PRIVATE TALVO_BINARY="$<TARGET_FILE:talvo>"
    TALVO_E2E_WINDOW="$<TARGET_FILE:e2e_window>" TALVO_E2E_DRAGSOURCE="$<TARGET_FILE:e2e_dragsource>")
add_dependencies(tst_notchbody talvo e2e_window e2e_dragsource)
talvo_add_test(tst_appshell SOURCES e2e/tst_appshell.cpp LIBS talvo_e2e TIMEOUT 200)
target_compile_definitions(tst_appshell PRIVATE TALVO_BINARY="$<TARGET_FILE:talvo>")
add_dependencies(tst_appshell talvo)

# Drops onto the notch and shelf tiles dragged out, between programs.
qt_add_executable(e2e_droptarget e2e/helpers/e2e_droptarget.cpp)
target_link_libraries(e2e_droptarget PRIVATE talvo_compiler_flags Qt6::Gui)
talvo_add_test(tst_shelfdesktop SOURCES e2e/tst_shelfdesktop.cpp LIBS talvo_e2e TIMEOUT 500)
target_compile_definitions(tst_shelfdesktop PRIVATE TALVO_BINARY="$<TARGET_FILE:talvo>"
    TALVO_E2E_WINDOW="$<TARGET_FILE:e2e_window>" TALVO_E2E_DRAGSOURCE="$<TARGET_FILE:e2e_dragsource>"
    TALVO_E2E_DROPTARGET="$<TARGET_FILE:e2e_droptarget>")
add_dependencies(tst_shelfdesktop talvo e2e_window e2e_dragsource e2e_droptarget)
# A GTK drag source, where GTK 3 is there to build it; its cases skip otherwise.
pkg_check_modules(GTK3 IMPORTED_TARGET gtk+-3.0)
if(GTK3_FOUND)
    enable_language(C)
    add_executable(e2e_gtkdragsource e2e/helpers/e2e_gtkdragsource.c)
    target_compile_options(e2e_gtkdragsource PRIVATE -Wall -Wextra $<$<BOOL:${TALVO_WERROR}>:-Werror>)
    target_link_libraries(e2e_gtkdragsource PRIVATE PkgConfig::GTK3)
    target_compile_definitions(tst_shelfdesktop PRIVATE TALVO_E2E_GTKDRAGSOURCE="$<TARGET_FILE:e2e_gtkdragsource>")
    add_dependencies(tst_shelfdesktop e2e_gtkdragsource)
endif()
talvo_add_test(tst_nowplayingpeek SOURCES e2e/tst_nowplayingpeek.cpp LIBS talvo_e2e TIMEOUT 200)
target_compile_definitions(tst_nowplayingpeek PRIVATE TALVO_BINARY="$<TARGET_FILE:talvo>"
    TALVO_E2E_WINDOW="$<TARGET_FILE:e2e_window>")
add_dependencies(tst_nowplayingpeek talvo e2e_window)
talvo_add_test(tst_paneldesktop SOURCES e2e/tst_paneldesktop.cpp LIBS talvo_e2e TIMEOUT 300)
target_compile_definitions(tst_paneldesktop PRIVATE TALVO_BINARY="$<TARGET_FILE:talvo>"
    TALVO_E2E_WINDOW="$<TARGET_FILE:e2e_window>" TALVO_E2E_DRAGSOURCE="$<TARGET_FILE:e2e_dragsource>"
    TALVO_E2E_SCREENS="${CMAKE_BINARY_DIR}/e2e-screens")
add_dependencies(tst_paneldesktop talvo e2e_window e2e_dragsource)

# The command line and the bus commands driving the real program.
talvo_add_test(tst_commanddesktop SOURCES e2e/tst_commanddesktop.cpp LIBS talvo_e2e TIMEOUT 200)
target_compile_definitions(tst_commanddesktop PRIVATE TALVO_BINARY="$<TARGET_FILE:talvo>"
    TALVO_E2E_SCREENS="${CMAKE_BINARY_DIR}/e2e-screens")
add_dependencies(tst_commanddesktop talvo)

# The shortcuts tab reached from the command line, a favourite launched.
talvo_add_test(tst_shortcutsdesktop SOURCES e2e/tst_shortcutsdesktop.cpp LIBS talvo_e2e TIMEOUT 200)
target_compile_definitions(tst_shortcutsdesktop PRIVATE TALVO_BINARY="$<TARGET_FILE:talvo>"
    TALVO_E2E_SCREENS="${CMAKE_BINARY_DIR}/e2e-screens" TALVO_E2E_DRAGSOURCE="$<TARGET_FILE:e2e_dragsource>")
add_dependencies(tst_shortcutsdesktop talvo e2e_dragsource)

# The settings window's pages driven as a user would.
talvo_add_test(tst_settingsdesktop SOURCES e2e/tst_settingsdesktop.cpp LIBS talvo_e2e TIMEOUT 300)
target_compile_definitions(tst_settingsdesktop PRIVATE TALVO_BINARY="$<TARGET_FILE:talvo>"
    TALVO_E2E_SCREENS="${CMAKE_BINARY_DIR}/e2e-screens")
add_dependencies(tst_settingsdesktop talvo)

# The weather and calendar cards on the real program.
talvo_add_test(tst_carddesktop SOURCES e2e/tst_carddesktop.cpp LIBS talvo_e2e TIMEOUT 300)
target_compile_definitions(tst_carddesktop PRIVATE TALVO_BINARY="$<TARGET_FILE:talvo>"
    TALVO_E2E_WINDOW="$<TARGET_FILE:e2e_window>" TALVO_E2E_SCREENS="${CMAKE_BINARY_DIR}/e2e-screens")
add_dependencies(tst_carddesktop talvo e2e_window)

# The utility cards against other programs' clipboard, drops and windows.
talvo_add_test(tst_utilitydesktop SOURCES e2e/tst_utilitydesktop.cpp LIBS talvo_e2e talvo_platform_linux TIMEOUT 300)
target_compile_definitions(tst_utilitydesktop PRIVATE TALVO_BINARY="$<TARGET_FILE:talvo>"
    TALVO_E2E_WINDOW="$<TARGET_FILE:e2e_window>" TALVO_E2E_CLIPBOARD="$<TARGET_FILE:clipboard_owner>"
    TALVO_E2E_DROPTARGET="$<TARGET_FILE:e2e_droptarget>" TALVO_E2E_SCREENS="${CMAKE_BINARY_DIR}/e2e-screens")
add_dependencies(tst_utilitydesktop talvo e2e_window clipboard_owner e2e_droptarget)

# The first-run flow gone through as a new user would.
talvo_add_test(tst_onboardingdesktop SOURCES e2e/tst_onboardingdesktop.cpp LIBS talvo_e2e TIMEOUT 300)
target_compile_definitions(tst_onboardingdesktop PRIVATE TALVO_BINARY="$<TARGET_FILE:talvo>"
    TALVO_E2E_SCREENS="${CMAKE_BINARY_DIR}/e2e-screens")
add_dependencies(tst_onboardingdesktop talvo)

# Faults from outside: the X server dying, the preferences file lost or
# locked, the Downloads folder removed, a failing forecast service, a player
# that never answers, 2,000 files dropped at once.
talvo_add_test(tst_faultsdesktop SOURCES e2e/tst_faultsdesktop.cpp LIBS talvo_e2e talvo_platform_linux TIMEOUT 300)
target_compile_definitions(tst_faultsdesktop PRIVATE TALVO_BINARY="$<TARGET_FILE:talvo>"
    TALVO_E2E_DRAGSOURCE="$<TARGET_FILE:e2e_dragsource>" TALVO_E2E_SCREENS="${CMAKE_BINARY_DIR}/e2e-screens")
add_dependencies(tst_faultsdesktop talvo e2e_dragsource)

# Each whole-program test runs an X server, a bus, a compositing manager and
# the program: one at a time, so that no test's timing depends on another's load.
set_tests_properties(tst_notchdesktop tst_notchbody tst_appshell tst_shelfdesktop tst_nowplayingpeek tst_paneldesktop
    tst_commanddesktop tst_shortcutsdesktop tst_settingsdesktop tst_carddesktop tst_utilitydesktop tst_onboardingdesktop
    PROPERTIES RESOURCE_LOCK e2e_desktop)

# Two RandR monitors on one X screen: which one holds the notch.
talvo_add_test(tst_monitorsdesktop SOURCES e2e/tst_monitorsdesktop.cpp LIBS talvo_e2e TIMEOUT 200)
target_compile_definitions(tst_monitorsdesktop PRIVATE TALVO_BINARY="$<TARGET_FILE:talvo>"
    TALVO_E2E_WINDOW="$<TARGET_FILE:e2e_window>" TALVO_E2E_SCREENS="${CMAKE_BINARY_DIR}/e2e-screens")
add_dependencies(tst_monitorsdesktop talvo e2e_window)
set_tests_properties(tst_monitorsdesktop PROPERTIES RESOURCE_LOCK e2e_desktop)
set_tests_properties(tst_faultsdesktop PROPERTIES RESOURCE_LOCK e2e_desktop)
