target_sources(talvo_core PRIVATE
    ui/QmlInstances.h
)
