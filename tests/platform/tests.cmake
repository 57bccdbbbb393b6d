talvo_add_test(tst_scheduler SOURCES platform/tst_scheduler.cpp)
talvo_add_test(tst_jsonfilepreferencesstorage SOURCES platform/linux/tst_jsonfilepreferencesstorage.cpp
    LIBS talvo_platform_linux)
talvo_add_test(tst_scriptbridge SOURCES platform/linux/tst_scriptbridge.cpp LIBS talvo_platform_linux)
talvo_add_test(tst_xdgautostart SOURCES platform/linux/tst_xdgautostart.cpp LIBS talvo_platform_linux)
talvo_add_test(tst_appwindows SOURCES platform/linux/tst_appwindows.cpp LIBS talvo_platform_linux GUI)
talvo_add_test(tst_freedesktopcontenttypes SOURCES platform/linux/tst_freedesktopcontenttypes.cpp
    LIBS talvo_platform_linux)
talvo_add_test(tst_freedesktopthumbnailer SOURCES platform/linux/tst_freedesktopthumbnailer.cpp
    LIBS talvo_platform_linux)
talvo_add_test(tst_canberrasoundplayer SOURCES platform/linux/tst_canberrasoundplayer.cpp
    LIBS talvo_platform_linux)
talvo_add_test(tst_desktopapplicationcatalog SOURCES platform/linux/tst_desktopapplicationcatalog.cpp
    LIBS talvo_platform_linux)
talvo_add_test(tst_dbuscontrolbus SOURCES platform/linux/tst_dbuscontrolbus.cpp LIBS talvo_platform_linux)
talvo_add_test(tst_qtscreens SOURCES platform/linux/tst_qtscreens.cpp LIBS talvo_platform_linux)
talvo_add_test(tst_x11notchservices SOURCES platform/linux/tst_x11notchservices.cpp
    LIBS talvo_platform_linux talvo_e2e GUI)
talvo_add_test(tst_threadtimerqueue SOURCES platform/tst_threadtimerqueue.cpp)
