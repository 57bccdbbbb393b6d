# Sources of this subsystem are added to talvo_core here.
target_sources(talvo_core PRIVATE
    shelf/ItemType.cpp shelf/ItemType.h
    shelf/ShelfImage.cpp shelf/ShelfImage.h
    shelf/ShelfItem.cpp shelf/ShelfItem.h
    shelf/ShelfItemListModel.cpp shelf/ShelfItemListModel.h
)
target_sources(talvo_core PRIVATE
    shelf/ShelfDragOut.cpp shelf/ShelfDragOut.h
    shelf/ShelfItemDragSource.cpp shelf/ShelfItemDragSource.h
)
qt_target_qml_sources(talvo_core QML_FILES
    shelf/ShelfItemRow.qml
    shelf/ShelfItemView.qml
)
