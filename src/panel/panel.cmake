# Sources of this subsystem are added to talvo_core here.
target_sources(talvo_core PRIVATE
    panel/AudioSpectrum.cpp panel/AudioSpectrum.h
)
qt_target_qml_sources(talvo_core QML_FILES
    panel/AudioSpectrumView.qml
)
