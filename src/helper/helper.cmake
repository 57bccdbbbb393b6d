# The Qt Widgets pieces, in a library of their own that only the helper
# program (and its tests) link: Talvo itself stays free of Qt Widgets.
add_library(talvo_widgets STATIC
    helper/FolderDialog.cpp helper/FolderDialog.h
    helper/TrayIcon.cpp helper/TrayIcon.h
)
set_target_properties(talvo_widgets PROPERTIES AUTOMOC ON)
target_include_directories(talvo_widgets PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/helper)
target_link_libraries(talvo_widgets PUBLIC talvo_platform Qt6::Widgets)

qt_add_executable(talvo-helper helper/main.cpp)
target_link_libraries(talvo-helper PRIVATE talvo_widgets)
install(TARGETS talvo-helper RUNTIME DESTINATION bin)
