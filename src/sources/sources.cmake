# Sources of this subsystem are added to talvo_core here.
target_sources(talvo_core PRIVATE
    sources/MicManager.cpp sources/MicManager.h
)
target_sources(talvo_core PRIVATE
    sources/CalendarTime.cpp sources/CalendarTime.h
    sources/NotchCalendarManager.cpp sources/NotchCalendarManager.h
    sources/NotchEventListModel.cpp sources/NotchEventListModel.h
    sources/NotchEventModel.cpp sources/NotchEventModel.h
)
