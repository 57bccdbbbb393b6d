target_sources(talvo_platform_linux PRIVATE
    platform/linux/JsonFilePreferencesStorage.cpp platform/linux/JsonFilePreferencesStorage.h
    platform/linux/UnixSignalWatcher.cpp platform/linux/UnixSignalWatcher.h
)
target_sources(talvo_platform_linux PRIVATE
    platform/linux/DesktopFileOpener.cpp platform/linux/DesktopFileOpener.h
    platform/linux/FileDialogFolderChooser.cpp platform/linux/FileDialogFolderChooser.h
    platform/linux/InodeFolderBookmarks.cpp platform/linux/InodeFolderBookmarks.h
    platform/linux/PosixFolderLister.cpp platform/linux/PosixFolderLister.h
    platform/linux/QtClipboardPasteboard.cpp platform/linux/QtClipboardPasteboard.h
)
