# Sources of this subsystem are added to talvo_core here.
target_sources(talvo_core PRIVATE
    panel/AudioSpectrum.cpp panel/AudioSpectrum.h
)
