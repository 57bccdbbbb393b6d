# Sources of this subsystem are added to talvo_core here.
target_sources(talvo_core PRIVATE
    sources/MicManager.cpp sources/MicManager.h
    sources/ClipboardHistoryModel.cpp sources/ClipboardHistoryModel.h
    sources/ClipboardItem.h
    sources/ClipboardManager.cpp sources/ClipboardManager.h
    sources/ClipboardType.h
    sources/RecentFilesManager.cpp sources/RecentFilesManager.h
    sources/RecentFilesModel.cpp sources/RecentFilesModel.h
)
