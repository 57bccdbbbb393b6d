# Sources of this subsystem are added to talvo_core here.
target_sources(talvo_core PRIVATE
    notch/NotchViewModel.cpp notch/NotchViewModel.h
    notch/ShelfItemListModel.cpp notch/ShelfItemListModel.h
)
