target_sources(talvo_core PRIVATE
    ui/QmlInstances.h
)
target_sources(talvo_core PRIVATE
    ui/QmlScheduler.h
)
target_sources(talvo_core PRIVATE
    ui/RoundedImage.cpp ui/RoundedImage.h
)
