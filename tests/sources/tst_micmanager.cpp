#include "fakes/FakeScriptRunner.h"
#include "fakes/VirtualScheduler.h"
#include "sources/MicManager.h"

#include <QSignalSpy>
#include <QTest>

using namespace talvo;

namespace {
// A microphone whose input volume the scripts read and set.
struct FakeMicrophone
{
    int volume = 100;
    bool broken = false;

    void install(FakeScriptRunner &runner)
    {
        runner.handle(QStringLiteral("input volume of (get volume settings)"), [this](const QString &) {
            return broken ? ScriptResult::error(QStringLiteral("no sound server")) : ScriptResult::ok(ScriptReply::fromInt(volume));
        });
        runner.handlePrefix(QStringLiteral("set volume input volume "), [this](const QString &source) {
            if (broken)
                return ScriptResult::error(QStringLiteral("no sound server"));
            volume = source.section(QLatin1Char(' '), -1).toInt();
            return ScriptResult::ok(ScriptReply::fromText(QString()));
        });
    }
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
    }
    void muteAndUnmuteRestoreTheVolume()
    {
        QFETCH(int, seenVolume);
        QFETCH(int, volumeAtMute);
        QFETCH(int, restored);
        FakeScriptRunner runner;
        FakeMicrophone mic{seenVolume};
        mic.install(runner);
        VirtualScheduler scheduler;
        MicManager manager(runner, scheduler);
        QVERIFY(!manager.isMuted());
        mic.volume = volumeAtMute;

        manager.toggleMute();
        QVERIFY(manager.isMuted());
        QCOMPARE(mic.volume, 0);
        QCOMPARE(runner.ran().last(), QStringLiteral("set volume input volume 0"));
        QCOMPARE(manager.previousVolume(), restored);
        manager.toggleMute();
        QVERIFY(!manager.isMuted());
        QCOMPARE(mic.volume, restored);
        QCOMPARE(runner.ran().last(), QStringLiteral("set volume input volume %1").arg(restored));
    }

    void unmuteWithNothingSeenRestoresFullVolume()
    {
        FakeScriptRunner runner;
        FakeMicrophone mic{0};
        mic.install(runner);
        VirtualScheduler scheduler;
        MicManager manager(runner, scheduler);
        QVERIFY(manager.isMuted()); // the first poll runs at creation
        manager.toggleMute();
        QCOMPARE(mic.volume, 100);
    }

    void pollFollowsOutsideChanges()
    {
        FakeScriptRunner runner;
        FakeMicrophone mic{70};
        mic.install(runner);
        VirtualScheduler scheduler;
        MicManager manager(runner, scheduler);
        QSignalSpy changed(&manager, &MicManager::isMutedChanged);

        mic.volume = 0;
        scheduler.advance(1999);
        QVERIFY(!manager.isMuted());
        scheduler.advance(1);
        QVERIFY(manager.isMuted());
        QCOMPARE(manager.previousVolume(), 70);

        mic.volume = 40;
        scheduler.advance(2000);
        QVERIFY(!manager.isMuted());
        QCOMPARE(manager.previousVolume(), 40);
        scheduler.advance(10000); // unchanged volume: no further signals
        QCOMPARE(changed.count(), 2);
    }

    void failingScriptsReadAsFullVolume()
    {
        FakeScriptRunner runner;
        FakeMicrophone mic{0};
        mic.install(runner);
        VirtualScheduler scheduler;
        MicManager manager(runner, scheduler);
        QVERIFY(manager.isMuted()); // the first poll runs at creation
        mic.broken = true;
        scheduler.advance(2000);
        QVERIFY(!manager.isMuted());
        QCOMPARE(manager.previousVolume(), 100);

        runner.failCreation(true);
        manager.toggleMute(); // reads 100 and "mutes"; the failed set goes unseen
        QVERIFY(manager.isMuted());
        scheduler.advance(2000); // the poll corrects the flag
        QVERIFY(!manager.isMuted());
    }

    void pollStopsWithTheManager()
    {
        FakeScriptRunner runner;
        FakeMicrophone mic;
        mic.install(runner);
        VirtualScheduler scheduler;
        {
            MicManager manager(runner, scheduler);
        }
        runner.clearRan();
        scheduler.advance(10000);
        QVERIFY(runner.ran().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMicManager)
#include "tst_micmanager.moc"
