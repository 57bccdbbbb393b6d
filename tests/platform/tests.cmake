talvo_add_test(tst_scheduler SOURCES platform/tst_scheduler.cpp)
talvo_add_test(tst_jsonfilepreferencesstorage SOURCES platform/linux/tst_jsonfilepreferencesstorage.cpp
    LIBS talvo_platform_linux)
talvo_add_test(tst_scriptbridge SOURCES platform/linux/tst_scriptbridge.cpp LIBS talvo_platform_linux)
talvo_add_test(tst_xdgautostart SOURCES platform/linux/tst_xdgautostart.cpp LIBS talvo_platform_linux)
talvo_add_test(tst_appwindows SOURCES platform/linux/tst_appwindows.cpp LIBS talvo_platform_linux GUI)
talvo_add_test(tst_icalcalendarstore SOURCES platform/linux/tst_icalcalendarstore.cpp platform/linux/IcsTestFiles.h
    LIBS talvo_platform_linux)
