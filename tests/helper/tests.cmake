talvo_add_test(tst_folderdialog SOURCES helper/tst_folderdialog.cpp LIBS talvo_widgets)
target_compile_definitions(tst_folderdialog PRIVATE TALVO_HELPER="$<TARGET_FILE:talvo-helper>")
add_dependencies(tst_folderdialog talvo-helper)
