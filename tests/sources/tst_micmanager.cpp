#include "fakes/FakeInputVolume.h"
#include "fakes/InlineWorkQueue.h"
#include "fakes/VirtualScheduler.h"
#include "sources/MicManager.h"

#include <QSignalSpy>
#include <QTest>

using namespace talvo;
using namespace Qt::StringLiterals;

namespace {
// A microphone whose input volume the manager reads and sets.
struct Rig
{
    explicit Rig(int startVolume) : input(startVolume)
    {
        manager = std::make_unique<MicManager>(input, queue, scheduler); // polls once at creation
        scheduler.runPending();
    }
    void toggle()
    {
        manager->toggleMute();
        scheduler.runPending();
    }
    FakeInputVolume input;
    InlineWorkQueue queue;
    VirtualScheduler scheduler;
    std::unique_ptr<MicManager> manager;
};
} // namespace

class TestMicManager : public QObject
{
    Q_OBJECT
private slots:
    void muteAndUnmuteRestoreTheVolume_data()
    {
        QTest::addColumn<int>("seenVolume");
        QTest::addColumn<int>("volumeAtMute");
        QTest::addColumn<int>("restored");
        QTest::newRow("at 65") << 65 << 65 << 65;
        // Muting at 0 (changed outside since the last poll) remembers nothing new.
        QTest::newRow("already at 0") << 50 << 0 << 50;
        QTest::newRow("nothing but 0 seen restores full volume") << 0 << 0 << 100;
        QTest::newRow("boosted to 150") << 150 << 150 << 150;
    }
    void muteAndUnmuteRestoreTheVolume()
    {
        QFETCH(int, seenVolume);
        QFETCH(int, volumeAtMute);
        QFETCH(int, restored);
        Rig rig(seenVolume);
        rig.input.volume = volumeAtMute;
        if (!rig.manager->isMuted()) {
            rig.toggle();
            QVERIFY(rig.manager->isMuted());
            QCOMPARE(rig.input.volumesSet, QList<int>{0});
        }
        QCOMPARE(rig.manager->previousVolume(), restored);
        rig.input.volumesSet.clear();
        rig.toggle();
        QVERIFY(!rig.manager->isMuted());
        QCOMPARE(rig.input.volumesSet, QList<int>{restored});
        QCOMPARE(rig.input.volume, restored);
    }

    // The desktop's mute key sets the flag and leaves the volume alone.
    void theMuteFlagMutesAndUnmutingClearsIt_data()
    {
        QTest::addColumn<int>("volume");
        QTest::addColumn<QList<int>>("volumesSet");
        QTest::newRow("flag at 70 keeps the volume") << 70 << QList<int>{};
        QTest::newRow("flag at 0 restores the volume seen before") << 0 << QList<int>{60};
    }
    void theMuteFlagMutesAndUnmutingClearsIt()
    {
        QFETCH(int, volume);
        Rig rig(60);
        rig.input.volume = volume;
        rig.input.muted = true;
        rig.scheduler.advance(MicManager::pollInterval.count());
        QVERIFY(rig.manager->isMuted());
        rig.toggle();
        QVERIFY(!rig.manager->isMuted());
        QVERIFY(!rig.input.muted);
        QTEST(rig.input.volumesSet, "volumesSet");
        rig.scheduler.advance(MicManager::pollInterval.count());
        QVERIFY(!rig.manager->isMuted());
    }

    void workRunsOnTheQueueAndAnswersOnTheMainThread()
    {
        Rig rig(70);
        rig.queue.holdWork(true);
        rig.manager->toggleMute();
        QVERIFY(rig.input.volumesSet.isEmpty());
        rig.queue.runAllHeld();
        QCOMPARE(rig.input.volume, 0);
        QVERIFY(!rig.manager->isMuted()); // not before the main thread has the answer
        rig.scheduler.runPending();
        QVERIFY(rig.manager->isMuted());
    }

    void pollFollowsOutsideChanges()
    {
        Rig rig(70);
        QSignalSpy changed(rig.manager.get(), &MicManager::isMutedChanged);
        rig.input.volume = 0;
        rig.scheduler.advance(1999);
        QVERIFY(!rig.manager->isMuted());
        rig.scheduler.advance(1);
        QVERIFY(rig.manager->isMuted());
        QCOMPARE(rig.manager->previousVolume(), 70);

        rig.input.volume = 40;
        rig.scheduler.advance(2000);
        QVERIFY(!rig.manager->isMuted());
        QCOMPARE(rig.manager->previousVolume(), 40);
        rig.scheduler.advance(10000); // unchanged volume: no further signals
        QCOMPARE(changed.count(), 2);
    }

    void failuresReadAsFullVolumeAndAreLoggedOnce()
    {
        Rig rig(0);
        QVERIFY(rig.manager->isMuted());
        rig.input.error = u"no sound server"_s;
        QTest::ignoreMessage(QtWarningMsg, "reading the input volume failed: no sound server");
        rig.scheduler.advance(2000);
        QVERIFY(!rig.manager->isMuted());
        QCOMPARE(rig.manager->previousVolume(), 100);
        rig.scheduler.advance(10000); // the same failure again: not logged again

        // Reads 100 and "mutes"; the failed set goes unseen but logged.
        QTest::ignoreMessage(QtWarningMsg, "mute failed: no sound server");
        rig.toggle();
        QVERIFY(rig.manager->isMuted());
        rig.scheduler.advance(2000); // the poll corrects the flag
        QVERIFY(!rig.manager->isMuted());
    }

    void pollStopsWithTheManager()
    {
        Rig rig(100);
        rig.queue.holdWork(true);
        rig.manager->toggleMute();
        rig.manager.reset();
        rig.queue.runAllHeld(); // work already queued finds no manager
        rig.scheduler.runPending();
        rig.scheduler.advance(10000);
        QCOMPARE(rig.queue.heldCount(), 0);
        QCOMPARE(rig.queue.dispatchedCount(), 2); // the first poll and the toggle
    }
};

QTEST_GUILESS_MAIN(TestMicManager)
#include "tst_micmanager.moc"
