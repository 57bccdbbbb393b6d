talvo_add_test(tst_shelfitem SOURCES shelf/tst_shelfitem.cpp)
