#include "fakes/FakeNotchWindowSurface.h"
#include "fakes/VirtualScheduler.h"
#include "fakes/VirtualTimerQueue.h"
#include "notch/MonitoringWatchdog.h"
#include "platform/SystemEvents.h"

#include <QTest>

using namespace talvo;

namespace {

// A watchdog over a log of what it asked for.
struct Rig
{
    Rig()
    {
        watchdog.emplace(scheduler, queue, system, window,
                         MonitoringWatchdog::Watched{
                             .isMonitoring = [this] { return monitoring; },
                             .lastPointerCheck = [this] { return lastCheck; },
                             .startMonitoring = [this] { log.append(QStringLiteral("start")); },
                             .positionWindow = [this] { log.append(QStringLiteral("position")); },
                             .revalidateScreen = [this] { log.append(QStringLiteral("screen")); }});
        watchdog->startHealthCheck();
    }

    VirtualScheduler scheduler;
    VirtualTimerQueue queue{scheduler};
    SystemEvents system;
    FakeNotchWindowSurface window;
    bool monitoring = true;
    qint64 lastCheck = 0;
    QStringList log;
    std::optional<MonitoringWatchdog> watchdog;
};

} // namespace

class TestMonitoringWatchdog : public QObject
{
    Q_OBJECT
private slots:
    void healthCheckRestartsLostOrStaleMonitoring_data()
    {
        QTest::addColumn<bool>("monitoring");
        QTest::addColumn<qint64>("sinceLastCheck"); // ms, at the check
        QTest::addColumn<bool>("restarts");
        QTest::newRow("healthy") << true << qint64(100) << false;
        QTest::newRow("monitors lost") << false << qint64(100) << true;
        QTest::newRow("quiet for the limit") << true << qint64(15000) << false;
        QTest::newRow("stale") << true << qint64(15001) << true;
    }
    void healthCheckRestartsLostOrStaleMonitoring()
    {
        QFETCH(bool, monitoring);
        QFETCH(qint64, sinceLastCheck);
        QFETCH(bool, restarts);
        Rig rig;
        rig.monitoring = monitoring;
        rig.lastCheck = rig.scheduler.monotonicMs() + 10000 - sinceLastCheck;
        rig.scheduler.advance(9999);
        QCOMPARE(rig.window.raiseCount, 0);
        rig.scheduler.advance(1);
        QCOMPARE(rig.log, restarts ? QStringList{"start"} : QStringList{});
        QCOMPARE(rig.window.raiseCount, 1); // raised on every check
    }

    void desktopEventsRecover_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<int>("delay");
        QTest::addColumn<QStringList>("actions");
        const QStringList recover{"start", "position"};
        QTest::newRow("wake") << 0 << 500 << recover;
        QTest::newRow("workspace") << 1 << 500 << recover;
        QTest::newRow("activated") << 2 << 300 << recover;
        QTest::newRow("screens") << 3 << 300 << QStringList{"screen", "start", "position"};
        QTest::newRow("unlock") << 4 << 1000 << QStringList{"start"};
    }
    void desktopEventsRecover()
    {
        QFETCH(int, which);
        QFETCH(int, delay);
        QFETCH(QStringList, actions);
        Rig rig;
        switch (which) {
        case 0: emit rig.system.didWake(); break;
        case 1: emit rig.system.activeWorkspaceChanged(); break;
        case 2: emit rig.system.applicationActivated(); break;
        case 3: emit rig.system.screenParametersChanged(); break;
        default: emit rig.system.sessionUnlocked(); break;
        }
        rig.scheduler.advance(delay - 1);
        QVERIFY(rig.log.isEmpty());
        rig.scheduler.advance(1);
        QCOMPARE(rig.log, actions);
        QCOMPARE(rig.window.raiseCount, actions.contains(QStringLiteral("position")) ? 1 : 0);
    }

    void stopsWithItsOwner()
    {
        Rig rig;
        rig.monitoring = false;
        emit rig.system.didWake();
        rig.watchdog.reset();
        rig.scheduler.advance(20000);
        QVERIFY(rig.log.isEmpty());
        QCOMPARE(rig.window.raiseCount, 0);
    }
};

QTEST_GUILESS_MAIN(TestMonitoringWatchdog)
#include "tst_monitoringwatchdog.moc"
