#include "platform/ThreadTimerQueue.h"

#include <QTest>
#include <QThread>

#include <atomic>

using namespace talvo;
using namespace std::chrono_literals;

// The real timer thread: ticks off the main thread, first at once, and never
// after cancel() has returned.
class TestThreadTimerQueue : public QObject
{
    Q_OBJECT
private slots:
    void ticksOnItsOwnThreadUntilCancelled()
    {
        ThreadTimerQueue queue(QStringLiteral("test.timers"));
        std::atomic<int> ticks{0};
        std::atomic<bool> offMainThread{true};
        QThread *main = QThread::currentThread();
        TimerHandle handle = queue.every(0ms, 10ms, [&] {
            if (QThread::currentThread() == main)
                offMainThread = false;
            ++ticks;
        });
        QTRY_VERIFY_WITH_TIMEOUT(ticks >= 3, 2000);
        QVERIFY(offMainThread);
        handle.cancel();
        const int afterCancel = ticks;
        QTest::qWait(100);
        QCOMPARE(ticks.load(), afterCancel);
    }

    // The caller of cancel() may free what the tick uses as soon as it returns.
    void cancelWaitsForATickUnderWay()
    {
        ThreadTimerQueue queue(QStringLiteral("test.timers"));
        std::atomic<bool> entered{false};
        std::atomic<bool> finished{false};
        TimerHandle handle = queue.every(0ms, 10ms, [&] {
            entered = true;
            QThread::msleep(100);
            finished = true;
        });
        QTRY_VERIFY_WITH_TIMEOUT(entered, 2000);
        handle.cancel();
        QVERIFY(finished);
    }

    void aTickMayCancelItsOwnTimer()
    {
        ThreadTimerQueue queue(QStringLiteral("test.timers"));
        std::atomic<int> ticks{0};
        TimerHandle handle;
        std::atomic<bool> started{false};
        handle = queue.every(20ms, 10ms, [&] {
            ++ticks;
            while (!started) {
            }
            handle.cancel();
        });
        started = true;
        QTest::qWait(100);
        QCOMPARE(ticks.load(), 1);
    }

    void handlesOutliveTheQueue()
    {
        TimerHandle handle;
        {
            ThreadTimerQueue queue(QStringLiteral("test.timers"));
            handle = queue.every(0ms, 5ms, [] {});
            QTest::qWait(20);
        }
        handle.cancel(); // the queue and its thread are gone: nothing happens
        QVERIFY(!handle.isActive());
    }
};

QTEST_GUILESS_MAIN(TestThreadTimerQueue)
#include "tst_threadtimerqueue.moc"
