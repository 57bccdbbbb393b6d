talvo_add_test(tst_springmotion SOURCES ui/tst_springmotion.cpp)
talvo_add_test(tst_symboltable SOURCES ui/tst_symboltable.cpp)
talvo_add_test(tst_glasscarditem SOURCES ui/tst_glasscarditem.cpp GUI)
