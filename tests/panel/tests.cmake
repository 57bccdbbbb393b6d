talvo_add_test(tst_audiospectrum SOURCES panel/tst_audiospectrum.cpp)
talvo_add_test(tst_audiospectrumview SOURCES panel/tst_audiospectrumview.cpp)
talvo_add_test(tst_panelrules SOURCES panel/tst_panelrules.cpp LIBS talvo_platform_linux)
talvo_add_test(tst_skycards SOURCES panel/tst_skycards.cpp)
