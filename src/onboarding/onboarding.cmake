# Sources of this subsystem are added to talvo_core here.
target_sources(talvo_core PRIVATE
    onboarding/OnboardingModel.cpp onboarding/OnboardingModel.h
)
qt_target_qml_sources(talvo_core QML_FILES
    onboarding/OnboardingView.qml
    onboarding/OnboardingWindow.qml
)
