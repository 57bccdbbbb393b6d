talvo_add_test(tst_shelfitem SOURCES shelf/tst_shelfitem.cpp)
talvo_add_test(tst_shelfdragout SOURCES shelf/tst_shelfdragout.cpp)
