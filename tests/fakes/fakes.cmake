target_sources(talvo_fakes PRIVATE
    fakes/FakeAppServices.h
    fakes/FakeScriptRunner.h
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
    fakes/FakeHttpClient.h
    fakes/FakeRunningApplications.h
)
target_sources(talvo_fakes PRIVATE
    fakes/FakeMprisPlayer.cpp fakes/FakeMprisPlayer.h
)
target_link_libraries(talvo_fakes PUBLIC Qt6::DBus)
target_sources(talvo_fakes PRIVATE
    fakes/TestImages.h
)
target_sources(talvo_fakes PRIVATE
    fakes/PrivateBus.cpp fakes/PrivateBus.h
)
target_sources(talvo_fakes PRIVATE
    fakes/TestDesktopEntries.h
)
