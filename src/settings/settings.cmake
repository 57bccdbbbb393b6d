# Sources of this subsystem are added to talvo_core here.
qt_target_qml_sources(talvo_core QML_FILES
    settings/SettingsWindow.qml
)
