target_sources(talvo_fakes PRIVATE
    fakes/FakeAppServices.h
    fakes/FakeScriptRunner.h
    fakes/InlineWorkQueue.h
    fakes/MemoryPreferencesStorage.h
    fakes/VirtualScheduler.cpp fakes/VirtualScheduler.h
)
target_sources(talvo_fakes PRIVATE fakes/FakeCalendarStore.cpp fakes/FakeCalendarStore.h)
target_sources(talvo_fakes PRIVATE fakes/FileSizeLimit.h)
