#include "fakes/FakePointer.h"
#include "fakes/VirtualScheduler.h"
#include "fakes/VirtualTimerQueue.h"
#include "notch/PointerPoll.h"

#include <QTest>

using namespace talvo;
using namespace std::chrono_literals;

// The poll hands a tick to the main thread only when there is something to
// decide. A tick that is skipped wrongly leaves the notch in a stale state
// (open under a pointer that left, closed under one that arrived).
class TestPointerPoll : public QObject
{
    Q_OBJECT

    enum Step { Still, Move, SubPixelMove, Press, Recheck, Unsettled, RecheckDuringTick, NoSample };

private slots:
    void handsOverOnlyWhatNeedsDeciding_data()
    {
        QTest::addColumn<QList<int>>("steps");
        // Main-thread ticks after each step (one look per step, 50 ms apart).
        QTest::addColumn<QList<int>>("ticks");

        QTest::newRow("still pointer: only the first look") << QList<int>{Still, Still, Still} << QList<int>{1, 1, 1};
        QTest::newRow("a move, then still") << QList<int>{Still, Move, Still} << QList<int>{1, 2, 2};
        QTest::newRow("a sub-pixel move counts") << QList<int>{Still, SubPixelMove} << QList<int>{1, 2};
        QTest::newRow("a button pressed in place") << QList<int>{Still, Press, Still} << QList<int>{1, 2, 2};
        QTest::newRow("recheck asked by the main thread") << QList<int>{Still, Recheck, Still} << QList<int>{1, 2, 2};
        QTest::newRow("a throttled tick is handed over again")
            << QList<int>{Still, Unsettled, Still, Still} << QList<int>{1, 2, 3, 3};
        QTest::newRow("recheck while a tick runs") << QList<int>{Still, RecheckDuringTick, Still, Still}
                                                   << QList<int>{1, 2, 3, 3};
        QTest::newRow("no sample: every look hands over") << QList<int>{NoSample, Still, Still}
                                                          << QList<int>{1, 2, 3};
    }
    void handsOverOnlyWhatNeedsDeciding()
    {
        QFETCH(QList<int>, steps);
        QFETCH(QList<int>, ticks);
        VirtualScheduler scheduler;
        VirtualTimerQueue queue(scheduler);
        FakePointer pointer;
        pointer.pos = QPointF(100, 100);
        PointerPoll poll(scheduler, queue, pointer, 50ms);
        QObject context;
        int handedOver = 0;
        bool settles = true;
        bool recheckInTick = false;
        poll.start(&context, [&] {
            ++handedOver;
            if (std::exchange(recheckInTick, false))
                poll.recheck();
            return std::exchange(settles, true);
        });
        for (int i = 0; i < steps.size(); ++i) {
            switch (steps.at(i)) {
            case Still:
                break;
            case Move:
                pointer.pos += QPointF(3, 0);
                break;
            case SubPixelMove:
                pointer.pos += QPointF(0.25, 0);
                break;
            case Press:
                pointer.buttons = Qt::LeftButton;
                break;
            case Recheck:
                poll.recheck();
                break;
            case Unsettled:
                settles = false;
                pointer.pos += QPointF(3, 0);
                break;
            case RecheckDuringTick:
                recheckInTick = true;
                pointer.pos += QPointF(3, 0);
                break;
            case NoSample:
                pointer.canSample = false;
                break;
            }
            scheduler.advance(i == 0 ? 0 : 50);
            QCOMPARE(handedOver, ticks.at(i));
        }
    }

    // Looks that hand nothing over still count as looks (the health check
    // reads them); a gone context gets no tick and a stopped poll no look.
    void looksWithoutTicksAndStopping()
    {
        VirtualScheduler scheduler;
        VirtualTimerQueue queue(scheduler);
        FakePointer pointer;
        PointerPoll poll(scheduler, queue, pointer, 50ms);
        int handedOver = 0;
        auto context = std::make_unique<QObject>();
        poll.start(context.get(), [&] {
            ++handedOver;
            return true;
        });
        scheduler.advance(1000);
        QCOMPARE(handedOver, 1);
        QCOMPARE(poll.lastLookAt(), scheduler.monotonicMs());

        context.reset();
        pointer.pos += QPointF(1, 0);
        scheduler.advance(50);
        QCOMPARE(handedOver, 1);

        poll.stop();
        QVERIFY(!poll.isActive());
        const int looks = pointer.samples;
        scheduler.advance(500);
        QCOMPARE(pointer.samples, looks);
    }
};

QTEST_GUILESS_MAIN(TestPointerPoll)
#include "tst_pointerpoll.moc"
