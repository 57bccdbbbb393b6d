talvo_add_test(tst_shelfitem SOURCES shelf/tst_shelfitem.cpp)
talvo_add_test(tst_shelfdragout SOURCES shelf/tst_shelfdragout.cpp)
talvo_add_test(tst_shelfitemview SOURCES shelf/tst_shelfitemview.cpp LIBS talvo_platform_linux GUI)
