talvo_add_test(tst_springmotion SOURCES ui/tst_springmotion.cpp)
talvo_add_test(tst_symboltable SOURCES ui/tst_symboltable.cpp)
talvo_add_test(tst_painteditems SOURCES ui/tst_painteditems.cpp)
