# Sources of this subsystem are added to talvo_core here.
target_sources(talvo_core PRIVATE
    settings/ReleaseNotes.cpp
    settings/SettingsController.cpp settings/SettingsController.h
    settings/WidgetOrdering.cpp settings/WidgetOrdering.h
)
qt_target_qml_sources(talvo_core QML_FILES
    settings/AboutSettingsView.qml
    settings/GeneralSettingsView.qml
    settings/HomeSettingsView.qml
    settings/SettingsWindow.qml
    settings/ShelfStyleAlert.qml
    settings/TalvoButton.qml
    settings/TalvoSettingsRow.qml
    settings/TalvoSettingsSection.qml
    settings/TalvoSettingsView.qml
    settings/TalvoSidebarTabRow.qml
    settings/TalvoSwitch.qml
    settings/TalvoVisualSelectCard.qml
    settings/WidgetOrderSlot.qml
    settings/WidgetSettingsCard.qml
    settings/WidgetsSettingsView.qml
)
