#include "fakes/VirtualScheduler.h"
#include "platform/QtScheduler.h"
#include "platform/SerialWorkQueue.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>

using namespace talvo;
using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

class TestScheduler : public QObject
{
    Q_OBJECT
private slots:
    void virtualFiresInTimeOrder()
    {
        const QDateTime start(QDate(2026, 1, 1), QTime(23, 59, 30));
        VirtualScheduler s(start);
        QStringList log;
        s.after(300ms, nullptr, [&] { log << u"c300"_s; });
        s.after(100ms, nullptr, [&] { log << u"a100"_s; });
        s.after(100ms, nullptr, [&] { log << u"b100"_s; });
        s.post(nullptr, [&] { log << u"post"_s; });
        s.advance(99);
        QCOMPARE(log, QStringList{u"post"_s});
        s.advance(1);
        QCOMPARE(log, (QStringList{u"post"_s, u"a100"_s, u"b100"_s}));
        s.advance(45'000);
        QCOMPARE(log.last(), u"c300"_s);
        QCOMPARE(s.pendingCount(), 0);
        QCOMPARE(s.now(), start.addMSecs(45'100)); // the wall clock moves with virtual time
    }

    void virtualRunsWorkScheduledByWorkInsideTheSameAdvance()
    {
        VirtualScheduler s;
        QList<qint64> firedAt;
        s.after(100ms, nullptr, [&] {
            firedAt << s.monotonicMs();
            s.after(50ms, nullptr, [&] { firedAt << s.monotonicMs(); });
            s.post(nullptr, [&] { firedAt << s.monotonicMs(); });
        });
        s.advance(200);
        QCOMPARE(firedAt, (QList<qint64>{100, 100, 150}));
        QCOMPARE(s.monotonicMs(), 200);
    }

    void virtualCancelsAndRepeats()
    {
        VirtualScheduler s;
        int ticks = 0, once = 0, selfCancelling = 0;
        TimerHandle repeat = s.every(1000ms, nullptr, [&] { ++ticks; });
        TimerHandle single = s.after(500ms, nullptr, [&] { ++once; });
        TimerHandle own;
        own = s.every(100ms, nullptr, [&] {
            if (++selfCancelling == 2)
                own.cancel(); // from inside its own run
        });
        single.cancel();
        QVERIFY(!single.isActive());
        s.advance(3500);
        QCOMPARE(ticks, 3);
        QCOMPARE(once, 0);
        QCOMPARE(selfCancelling, 2);
        repeat.cancel();
        s.advance(5000);
        QCOMPARE(ticks, 3);
    }

    void virtualSkipsWorkWhoseContextIsGone()
    {
        VirtualScheduler s;
        int runs = 0;
        auto *owner = new QObject;
        s.after(100ms, owner, [&] { ++runs; });
        s.post(owner, [&] { ++runs; });
        TimerHandle repeating = s.every(10ms, owner, [&] { ++runs; });
        delete owner;
        s.advance(1000);
        QCOMPARE(runs, 0);
        QVERIFY(!repeating.isActive());
    }

    void realSchedulerRunsCancelsAndRepeats()
    {
        QtScheduler s;
        int once = 0, cancelled = 0, ticks = 0, posted = 0;
        s.post(nullptr, [&] { ++posted; });
        s.after(5ms, nullptr, [&] { ++once; });
        TimerHandle c = s.after(5ms, nullptr, [&] { ++cancelled; });
        c.cancel();
        TimerHandle r = s.every(2ms, nullptr, [&] { ++ticks; });
        QTRY_VERIFY(ticks >= 3);
        r.cancel();
        const int seen = ticks;
        QTest::qWait(20);
        QCOMPARE(ticks, seen);
        QCOMPARE(once, 1);
        QCOMPARE(cancelled, 0);
        QCOMPARE(posted, 1);
        QVERIFY(!r.isActive());
    }

    void serialQueueRunsOffTheMainThreadInOrderAndHandsBack()
    {
        QtScheduler s;
        SerialWorkQueue queue(QStringLiteral("test.queue"));
        QObject owner;
        QList<int> results;
        QList<bool> onMain;
        for (int i = 0; i < 5; ++i) {
            runOnQueue<int>(queue, s, &owner,
                            [i] { return QThread::currentThread() != QCoreApplication::instance()->thread() ? i : -1; },
                            [&](int value) {
                                results << value;
                                onMain << (QThread::currentThread() == QCoreApplication::instance()->thread());
                            });
        }
        QTRY_COMPARE(results.size(), 5);
        QCOMPARE(results, (QList<int>{0, 1, 2, 3, 4}));
        QVERIFY(!onMain.contains(false));
    }

    void serialQueueDropsResultsForAContextDeletedMeanwhile()
    {
        QtScheduler s;
        SerialWorkQueue queue(QStringLiteral("test.queue"));
        int delivered = 0;
        for (int i = 0; i < 50; ++i) {
            auto *owner = new QObject;
            runOnQueue<int>(queue, s, owner, [] { QThread::usleep(100); return 1; }, [&](int) { ++delivered; });
            delete owner; // while the work may still be running
        }
        QObject last;
        bool done = false;
        runOnQueue<int>(queue, s, &last, [] { return 0; }, [&](int) { done = true; });
        QTRY_VERIFY(done);
        QCOMPARE(delivered, 0);
    }

};

QTEST_GUILESS_MAIN(TestScheduler)
#include "tst_scheduler.moc"
