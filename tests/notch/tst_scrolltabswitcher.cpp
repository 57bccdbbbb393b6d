#include "fakes/VirtualScheduler.h"
#include "notch/ScrollTabSwitcher.h"

#include <QTest>

using namespace talvo;

class TestScrollTabSwitcher : public QObject
{
    Q_OBJECT
private slots:
    // Each step is a scroll (pixels when precise, else lines) after `gap` ms.
    void switchesTabs_data()
    {
        QTest::addColumn<bool>("precise");
        QTest::addColumn<QString>("startTab");
        QTest::addColumn<QList<qreal>>("deltas");
        QTest::addColumn<qint64>("gap");
        QTest::addColumn<QString>("endTab");
        QTest::addColumn<int>("switches");
        QTest::newRow("trackpad below threshold") << true << "home" << QList<qreal>{-5, -5, -4.9} << qint64(20) << "home" << 0;
        QTest::newRow("trackpad reaches threshold") << true << "home" << QList<qreal>{-5, -5, -5} << qint64(20) << "tray" << 1;
        QTest::newRow("wheel one notch") << false << "home" << QList<qreal>{-1} << qint64(20) << "home" << 0;
        QTest::newRow("wheel two notches") << false << "home" << QList<qreal>{-1, -1} << qint64(20) << "tray" << 1;
        QTest::newRow("up goes back") << false << "tray" << QList<qreal>{1, 1} << qint64(20) << "home" << 1;
        QTest::newRow("no wrap past the last") << false << "tray" << QList<qreal>{-1, -1, -1} << qint64(500) << "tray" << 0;
        QTest::newRow("no wrap before the first") << true << "home" << QList<qreal>{20} << qint64(20) << "home" << 0;
        QTest::newRow("shortcuts is not in the cycle") << false << "shortcuts" << QList<qreal>{-2, 2} << qint64(500) << "shortcuts" << 0;
        QTest::newRow("direction change resets") << true << "home" << QList<qreal>{-10, 3, -10} << qint64(20) << "home" << 0;
        QTest::newRow("spacing swallows events") << false << "tray" << QList<qreal>{2, -2, -2} << qint64(150) << "home" << 1;
        // The sum is kept across a switch: the first -2 after the pause only cancels it.
        QTest::newRow("after spacing it switches again") << false << "tray" << QList<qreal>{2, -2, -2, -2} << qint64(200) << "tray" << 2;
    }
    void switchesTabs()
    {
        QFETCH(bool, precise);
        QFETCH(QString, startTab);
        QFETCH(QList<qreal>, deltas);
        QFETCH(qint64, gap);
        VirtualScheduler scheduler;
        ScrollTabSwitcher switcher(scheduler);
        NotchPanelTab tab = *notchPanelTabFromRawValue(startTab);
        int switches = 0;
        for (qreal delta : deltas) {
            scheduler.advance(gap);
            const auto event = precise ? PointerEvent::preciseScroll(delta, delta / 10) : PointerEvent::wheel(delta);
            if (const std::optional<NotchPanelTab> next = switcher.scroll(event, tab)) {
                QVERIFY(*next != tab);
                tab = *next;
                ++switches;
            }
        }
        QTEST(rawValue(tab), "endTab");
        QTEST(switches, "switches");
    }
};

QTEST_GUILESS_MAIN(TestScrollTabSwitcher)
#include "tst_scrolltabswitcher.moc"
