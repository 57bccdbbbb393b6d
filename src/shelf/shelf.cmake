# Sources of this subsystem are added to talvo_core here.
target_sources(talvo_core PRIVATE
    shelf/ItemType.cpp shelf/ItemType.h
    shelf/ShelfImage.cpp shelf/ShelfImage.h
    shelf/ShelfItem.cpp shelf/ShelfItem.h
)
