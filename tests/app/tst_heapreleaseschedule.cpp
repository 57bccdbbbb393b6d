#include "app/HeapReleaseSchedule.h"
#include "fakes/VirtualScheduler.h"

#include <QTest>

using namespace talvo;

// One step of a script: show or discard the panel (or leave it), let time
// pass, then count the releases so far.
struct Step
{
    enum Panel { Keep, Show, Discard } panel;
    qint64 advanceMs;
    int releases;
};
Q_DECLARE_METATYPE(QList<Step>)

class TestHeapReleaseSchedule : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void releases_data()
    {
        QTest::addColumn<QList<Step>>("script");
        QTest::newRow("closed from the start: once a minute")
            << QList<Step>{{Step::Keep, 59999, 0}, {Step::Keep, 1, 1}, {Step::Keep, 60000, 2}};
        QTest::newRow("nothing while the panel is open")
            << QList<Step>{{Step::Show, 10 * 60000, 0}};
        QTest::newRow("soon after the panel goes, then once a minute")
            << QList<Step>{{Step::Show, 30000, 0}, {Step::Discard, 249, 0}, {Step::Keep, 1, 1},
                           {Step::Keep, 59749, 1}, {Step::Keep, 1, 2}};
        QTest::newRow("reopened before the first release")
            << QList<Step>{{Step::Show, 1000, 0}, {Step::Discard, 100, 0}, {Step::Show, 5 * 60000, 0}};
        QTest::newRow("the minute counts from the last closing")
            << QList<Step>{{Step::Keep, 50000, 0}, {Step::Show, 1000, 0}, {Step::Discard, 250, 1},
                           {Step::Keep, 59000, 1}, {Step::Keep, 1000, 2}};
    }
    void releases()
    {
        QFETCH(QList<Step>, script);
        VirtualScheduler scheduler;
        int releases = 0;
        HeapReleaseSchedule schedule(scheduler, [&] { ++releases; });
        for (const Step &step : script) {
            if (step.panel != Step::Keep)
                schedule.setPanelPresent(step.panel == Step::Show);
            scheduler.advance(step.advanceMs);
            QCOMPARE(releases, step.releases);
        }
    }
};

QTEST_GUILESS_MAIN(TestHeapReleaseSchedule)
#include "tst_heapreleaseschedule.moc"
