# Sources of this subsystem are added to talvo_core here.
target_sources(talvo_core PRIVATE
    notch/NotchViewModel.cpp notch/NotchViewModel.h
)
target_sources(talvo_core PRIVATE
    notch/DesktopCoordinates.cpp notch/DesktopCoordinates.h
    notch/NotchGeometry.cpp notch/NotchGeometry.h
    notch/NotchSizes.cpp notch/NotchSizes.h
)
target_sources(talvo_core PRIVATE
    notch/NotchWindowController.cpp notch/NotchWindowController.h
    notch/PointerPoll.cpp notch/PointerPoll.h
    notch/FileDragTracker.cpp notch/FileDragTracker.h
    notch/MonitoringWatchdog.cpp notch/MonitoringWatchdog.h
    notch/ScreenChoice.cpp notch/ScreenChoice.h
    notch/ScrollTabSwitcher.cpp notch/ScrollTabSwitcher.h
)
target_sources(talvo_core PRIVATE
    notch/NotchGreetingSequence.cpp notch/NotchGreetingSequence.h
    notch/NotchShelfLayout.cpp notch/NotchShelfLayout.h
    notch/OrvaneNotchShape.cpp notch/OrvaneNotchShape.h
)
qt_target_qml_sources(talvo_core QML_FILES
    notch/NotchContentLayer.qml
    notch/NotchDropTargetView.qml
    notch/NotchFileDragHintView.qml
    notch/NotchGreetingView.qml
    notch/NotchShelfStripView.qml
    notch/NotchShelfView.qml
    notch/NotchToastView.qml
    notch/NowPlayingPeekView.qml
)
target_sources(talvo_core PRIVATE
    notch/NotchStatePublisher.cpp notch/NotchStatePublisher.h
)
target_sources(talvo_core PRIVATE
    notch/DragData.cpp notch/DragData.h
    notch/DropDetectionView.cpp notch/DropDetectionView.h
)
target_sources(talvo_core PRIVATE
    notch/ShelfDragOutLink.cpp notch/ShelfDragOutLink.h
)
