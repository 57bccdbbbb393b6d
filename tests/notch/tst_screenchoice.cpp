#include "fakes/FakeScreens.h"
#include "notch/ScreenChoice.h"

#include <QTest>

using namespace talvo;

namespace {

// A desktop whose main screen is not the first listed, or that names none.
class OddScreens final : public Screens
{
public:
    QList<ScreenInfo> screens() const override { return all; }
    std::optional<ScreenInfo> mainScreen() const override { return main; }
    QList<ScreenInfo> all;
    std::optional<ScreenInfo> main;
};

} // namespace

class TestScreenChoice : public QObject
{
    Q_OBJECT
private slots:
    void choosesPinnedElseMainElseFirst_data()
    {
        QTest::addColumn<QList<int>>("connected"); // output numbers, as listed
        QTest::addColumn<int>("main");              // -1: none
        QTest::addColumn<int>("pinned");            // -1: nothing pinned
        QTest::addColumn<int>("chosen");            // -1: nothing
        QTest::newRow("nothing pinned: main") << QList<int>{1, 2} << 2 << -1 << 2;
        QTest::newRow("pinned and connected") << QList<int>{1, 2} << 1 << 2 << 2;
        QTest::newRow("pinned unplugged: main") << QList<int>{1, 3} << 3 << 2 << 3;
        QTest::newRow("no main: first") << QList<int>{4, 5} << -1 << 2 << 4;
        QTest::newRow("an output without a number is never the pinned one") << QList<int>{0, 1} << 1 << 0 << 1;
        QTest::newRow("no screen at all") << QList<int>{} << -1 << 2 << -1;
    }
    void choosesPinnedElseMainElseFirst()
    {
        QFETCH(QList<int>, connected);
        QFETCH(int, main);
        QFETCH(int, pinned);
        QFETCH(int, chosen);
        OddScreens screens;
        for (int number : connected) {
            // Outputs have grown since they were pinned: the choice carries today's size.
            const ScreenInfo screen = FakeScreens::screen(number, QRectF(0, 0, 2000 + number, 1000));
            screens.all.append(screen);
            if (number == main)
                screens.main = screen;
        }
        std::optional<ScreenInfo> pin;
        if (pinned >= 0)
            pin = FakeScreens::screen(pinned, QRectF(0, 0, 1000, 1000));
        const std::optional<ScreenInfo> result = chooseScreen(screens, pin);
        QCOMPARE(result ? int(result->number) : -1, chosen);
        if (result)
            QCOMPARE(result->geometry.width(), 2000.0 + chosen);
    }
};

QTEST_GUILESS_MAIN(TestScreenChoice)
#include "tst_screenchoice.moc"
