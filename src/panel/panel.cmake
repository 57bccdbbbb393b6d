# Sources of this subsystem are added to talvo_core here.
target_sources(talvo_core PRIVATE
    panel/AddEventForm.cpp panel/AddEventForm.h
    panel/AudioSpectrum.cpp panel/AudioSpectrum.h
    panel/BatteryStatus.cpp panel/BatteryStatus.h
    panel/CalendarCardModel.cpp panel/CalendarCardModel.h
    panel/ClipboardCardModel.cpp panel/ClipboardCardModel.h
    panel/ColorPickerModel.cpp panel/ColorPickerModel.h panel/ColorHex.cpp
    panel/FavoriteAppsModel.cpp panel/FavoriteAppsModel.h
    panel/MusicAppLauncher.cpp panel/MusicAppLauncher.h
    panel/MusicCardModel.cpp panel/MusicCardModel.h
    panel/NotchPanelModel.cpp panel/NotchPanelModel.h
    panel/RainDrop.cpp panel/RainDrop.h
    panel/RainShower.cpp panel/RainShower.h
    panel/RecentFilesCardModel.cpp panel/RecentFilesCardModel.h
    panel/ScratchpadNote.cpp panel/ScratchpadNote.h
    panel/ShortcutActionsModel.cpp panel/ShortcutActionsModel.h
    panel/SoftGlowItem.cpp panel/SoftGlowItem.h
    panel/WeatherSceneStyle.cpp panel/WeatherSceneStyle.h
    panel/WeekDay.cpp panel/WeekDay.h
)
set_source_files_properties(panel/PanelColors.qml PROPERTIES QT_QML_SINGLETON_TYPE TRUE)
qt_target_qml_sources(talvo_core QML_FILES
    panel/AddEventPopover.qml
    panel/AddFavoriteAppButtonView.qml
    panel/AnimatedCloudView.qml
    panel/AnimatedRainView.qml
    panel/AnimatedSunView.qml
    panel/ApplicationChooserWindow.qml
    panel/AudioSpectrumView.qml
    panel/BatteryIndicatorView.qml
    panel/CalendarWidgetView.qml
    panel/CardPresence.qml
    panel/ClipboardListRow.qml
    panel/ClipboardWidgetView.qml
    panel/ColorPickerWidgetView.qml
    panel/FavoriteAppTileView.qml
    panel/GlassCardFrame.qml
    panel/MusicLaunchButton.qml
    panel/MusicWidgetView.qml
    panel/NotchCalendarPanelView.qml
    panel/PanelButton.qml
    panel/PanelColors.qml
    panel/PanelHomeView.qml
    panel/PanelTrayView.qml
    panel/RecentFileListRow.qml
    panel/RecentFilesWidgetView.qml
    panel/ScratchpadWidgetView.qml
    panel/ScrollableHover.qml
    panel/ShortcutActionButton.qml
    panel/ShortcutsTabView.qml
    panel/SmallTextButton.qml
    panel/UtilityCardHeader.qml
    panel/UtilityEmptyState.qml
    panel/UtilityListView.qml
    panel/WeatherAnimatedBackground.qml
    panel/WeatherWidgetView.qml
)
