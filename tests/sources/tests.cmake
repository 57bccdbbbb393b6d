talvo_add_test(tst_micmanager SOURCES sources/tst_micmanager.cpp)
