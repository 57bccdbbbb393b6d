target_sources(talvo_fakes PRIVATE
    fakes/FakeAppServices.h
    fakes/FakeInputVolume.h
    fakes/FakeSystemActions.h
    fakes/InlineWorkQueue.h
    fakes/MemoryPreferencesStorage.h
    fakes/VirtualScheduler.cpp fakes/VirtualScheduler.h
)
target_sources(talvo_fakes PRIVATE
    fakes/FakeLocationService.h
    fakes/FakeReverseGeocoder.h
    fakes/FakeSystemSettingsOpener.h
    fakes/LoopbackHttpServer.cpp fakes/LoopbackHttpServer.h
)
target_link_libraries(talvo_fakes PUBLIC Qt6::Network)
target_sources(talvo_fakes PRIVATE
    fakes/FakeApplicationCatalog.h
    fakes/FakeContentTypes.h
    fakes/FakeSoundPlayer.h
    fakes/FakeThumbnailer.h
    fakes/FakeFileOpener.h
    fakes/FakeFolderBookmarks.h
    fakes/FakeFolderChooser.h
    fakes/FakeFolderLister.h
    fakes/FakePowerSource.h
    fakes/FakeClipboard.h
)
target_sources(talvo_fakes PRIVATE fakes/FakeCalendarStore.cpp fakes/FakeCalendarStore.h)
target_sources(talvo_fakes PRIVATE fakes/FileSizeLimit.h)
target_sources(talvo_fakes PRIVATE
    fakes/FakeDragSelection.h
    fakes/FakeEventMonitors.h
    fakes/FakeHapticFeedback.h
    fakes/FakeNotchWindowSurface.h
    fakes/FakePointer.h
    fakes/FakeScreens.h
    fakes/SettingsFixture.h
    fakes/VirtualTimerQueue.h
)
target_sources(talvo_fakes PRIVATE fakes/FakeDragData.h)
target_sources(talvo_fakes PRIVATE fakes/FakeNotchServices.h)
target_sources(talvo_fakes PRIVATE fakes/FakeDragSessions.h)
target_sources(talvo_fakes PRIVATE
    fakes/FakeHttpClient.h
    fakes/FakeMprisPlayer.cpp fakes/FakeMprisPlayer.h
    fakes/FakeMediaPlayers.h
    fakes/PrivateBus.cpp fakes/PrivateBus.h
    fakes/TestDesktopEntries.h
    fakes/TestImages.h
)
target_link_libraries(talvo_fakes PUBLIC Qt6::DBus)
target_sources(talvo_fakes PRIVATE fakes/FakeColorSampler.h)
