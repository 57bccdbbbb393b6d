#include "fakes/FakeScriptRunner.h"
#include "fakes/VirtualScheduler.h"
#include "sources/MicManager.h"

#include <QSignalSpy>
#include <QTest>

using namespace talvo;
using namespace Qt::StringLiterals;

namespace {
// A microphone whose input volume the scripts read and set.
struct Rig
{
    explicit Rig(int startVolume) : volume(startVolume)
    {
        runner.handle(u"input volume of (get volume settings)"_s, [this](const QString &) {
            return broken ? ScriptResult::error(u"no sound server"_s) : ScriptResult::ok(ScriptReply::fromInt(volume));
        });
        runner.handlePrefix(u"set volume input volume "_s, [this](const QString &source) {
            if (broken)
                return ScriptResult::error(u"no sound server"_s);
            volume = source.section(u' ', -1).toInt();
            return ScriptResult::ok(ScriptReply::fromText(QString()));
        });
        manager = std::make_unique<MicManager>(runner, scheduler); // polls once at creation
    }
    int volume;
    bool broken = false;
    FakeScriptRunner runner;
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
    }
    void muteAndUnmuteRestoreTheVolume()
    {
        QFETCH(int, seenVolume);
        QFETCH(int, volumeAtMute);
        QFETCH(int, restored);
        Rig rig(seenVolume);
        rig.volume = volumeAtMute;
        if (!rig.manager->isMuted()) {
            rig.manager->toggleMute();
            QVERIFY(rig.manager->isMuted());
            QCOMPARE(rig.runner.ran().last(), u"set volume input volume 0"_s);
        }
        QCOMPARE(rig.manager->previousVolume(), restored);
        rig.manager->toggleMute();
        QVERIFY(!rig.manager->isMuted());
        QCOMPARE(rig.volume, restored);
        QCOMPARE(rig.runner.ran().last(), u"set volume input volume %1"_s.arg(restored));
    }

    void pollFollowsOutsideChanges()
    {
        Rig rig(70);
        QSignalSpy changed(rig.manager.get(), &MicManager::isMutedChanged);
        rig.volume = 0;
        rig.scheduler.advance(1999);
        QVERIFY(!rig.manager->isMuted());
        rig.scheduler.advance(1);
        QVERIFY(rig.manager->isMuted());
        QCOMPARE(rig.manager->previousVolume(), 70);

        rig.volume = 40;
        rig.scheduler.advance(2000);
        QVERIFY(!rig.manager->isMuted());
        QCOMPARE(rig.manager->previousVolume(), 40);
        rig.scheduler.advance(10000); // unchanged volume: no further signals
        QCOMPARE(changed.count(), 2);
    }

    void failingScriptsReadAsFullVolume()
    {
        Rig rig(0);
        QVERIFY(rig.manager->isMuted());
        rig.broken = true;
        rig.scheduler.advance(2000);
        QVERIFY(!rig.manager->isMuted());
        QCOMPARE(rig.manager->previousVolume(), 100);

        rig.runner.failCreation(true);
        rig.manager->toggleMute(); // reads 100 and "mutes"; the failed set goes unseen
        QVERIFY(rig.manager->isMuted());
        rig.scheduler.advance(2000); // the poll corrects the flag
        QVERIFY(!rig.manager->isMuted());
    }

    void pollStopsWithTheManager()
    {
        Rig rig(100);
        rig.manager.reset();
        rig.runner.clearRan();
        rig.scheduler.advance(10000);
        QVERIFY(rig.runner.ran().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestMicManager)
#include "tst_micmanager.moc"
