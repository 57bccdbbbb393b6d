target_sources(talvo_core PRIVATE
    app/AppControlCommands.cpp app/AppControlCommands.h
    app/AppDelegate.cpp app/AppDelegate.h
    app/Appcast.cpp app/Appcast.h
    app/CommandLine.cpp app/CommandLine.h
    app/HeapReleaseSchedule.cpp app/HeapReleaseSchedule.h
    app/PrefsCommand.cpp app/PrefsCommand.h
    app/TalvoUpdater.cpp app/TalvoUpdater.h
)
