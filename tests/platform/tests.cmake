talvo_add_test(tst_scheduler SOURCES platform/tst_scheduler.cpp)
talvo_add_test(tst_log SOURCES platform/tst_log.cpp)
talvo_add_test(tst_jsonfilepreferencesstorage SOURCES platform/linux/tst_jsonfilepreferencesstorage.cpp
    LIBS talvo_platform_linux)
talvo_add_test(tst_pulseaudioservices SOURCES platform/linux/tst_pulseaudioservices.cpp LIBS talvo_platform_linux)
talvo_add_test(tst_xdgautostart SOURCES platform/linux/tst_xdgautostart.cpp LIBS talvo_platform_linux)
talvo_add_test(tst_appwindows SOURCES platform/linux/tst_appwindows.cpp LIBS talvo_platform_linux GUI)
talvo_add_test(tst_networkhttpclient SOURCES platform/linux/tst_networkhttpclient.cpp LIBS talvo_platform_linux)
talvo_add_test(tst_nominatimreversegeocoder SOURCES platform/linux/tst_nominatimreversegeocoder.cpp
    LIBS talvo_platform_linux)
talvo_add_test(tst_qtpositioninglocationservice SOURCES platform/linux/tst_qtpositioninglocationservice.cpp
    LIBS talvo_platform_linux)
talvo_add_test(tst_desktopsettingsopener SOURCES platform/linux/tst_desktopsettingsopener.cpp LIBS talvo_platform_linux)
talvo_add_test(tst_serviceaddresses SOURCES platform/linux/tst_serviceaddresses.cpp LIBS talvo_platform_linux)
talvo_add_test(tst_freedesktopcontenttypes SOURCES platform/linux/tst_freedesktopcontenttypes.cpp
    LIBS talvo_platform_linux)
talvo_add_test(tst_freedesktopthumbnailer SOURCES platform/linux/tst_freedesktopthumbnailer.cpp
    LIBS talvo_platform_linux)
talvo_add_test(tst_desktopapplicationcatalog SOURCES platform/linux/tst_desktopapplicationcatalog.cpp
    LIBS talvo_platform_linux)
qt_add_executable(clipboard_owner platform/linux/clipboard_owner.cpp)
target_link_libraries(clipboard_owner PRIVATE talvo_compiler_flags Qt6::Gui)
talvo_add_test(tst_qtclipboard SOURCES platform/linux/tst_qtclipboard.cpp
    LIBS talvo_platform_linux GUI)
target_compile_definitions(tst_qtclipboard PRIVATE CLIPBOARD_OWNER="$<TARGET_FILE:clipboard_owner>")
add_dependencies(tst_qtclipboard clipboard_owner)
talvo_add_test(tst_downloadsondisk SOURCES platform/linux/tst_downloadsondisk.cpp LIBS talvo_platform_linux)
talvo_add_test(tst_helperprocesses SOURCES platform/linux/tst_helperprocesses.cpp LIBS talvo_platform_linux)
talvo_add_test(tst_icalcalendarstore SOURCES platform/linux/tst_icalcalendarstore.cpp
    LIBS talvo_platform_linux)
talvo_add_test(tst_dbuscontrolbus SOURCES platform/linux/tst_dbuscontrolbus.cpp LIBS talvo_platform_linux)
talvo_add_test(tst_qtscreens SOURCES platform/linux/tst_qtscreens.cpp LIBS talvo_platform_linux)
talvo_add_test(tst_x11notchservices SOURCES platform/linux/tst_x11notchservices.cpp
    LIBS talvo_platform_linux talvo_e2e GUI)
talvo_add_test(tst_threadtimerqueue SOURCES platform/tst_threadtimerqueue.cpp)
talvo_add_test(tst_mprisplayers SOURCES platform/linux/tst_mprisplayers.cpp LIBS talvo_platform_linux)
# It counts on a freed inode number coming back to a folder it makes; another
# test making files in /tmp at the same time could take it first. Run it alone.
set_tests_properties(tst_downloadsondisk PROPERTIES RUN_SERIAL TRUE)
talvo_add_test(tst_trashemptier SOURCES platform/linux/tst_trashemptier.cpp LIBS talvo_platform_linux)
talvo_add_test(tst_heaprelease SOURCES platform/linux/tst_heaprelease.cpp LIBS talvo_platform_linux)
talvo_add_test(tst_fatalsignalreport SOURCES platform/linux/tst_fatalsignalreport.cpp LIBS talvo_platform_linux)
talvo_add_test(tst_linuxsystemactions SOURCES platform/linux/tst_linuxsystemactions.cpp LIBS talvo_platform_linux)
talvo_add_test(tst_screencolorsampler SOURCES platform/linux/tst_screencolorsampler.cpp LIBS talvo_platform_linux)
