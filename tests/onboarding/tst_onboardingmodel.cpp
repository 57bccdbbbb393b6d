#include "fakes/SettingsFixture.h"
#include "onboarding/OnboardingModel.h"

#include <QSignalSpy>
#include <QTest>

using namespace talvo;

namespace {

ScreenInfo housingScreen()
{
    return plainScreen().withCameraHousing(QSizeF(200, 32));
}

// The flow over the settings window's controller and its faked services.
struct Fixture : SettingsFixture
{
    explicit Fixture(QJsonObject prefs = {}, QList<ScreenInfo> screenList = {plainScreen()})
        : SettingsFixture(std::move(prefs), std::move(screenList))
    {
        model.windowOpened();
    }

    void goTo(int page)
    {
        while (model.currentPage() < page)
            model.next();
    }
    QString text(const TextKey &key) const { return preferences.value(key); }

    int greetings = 0;
    OnboardingModel model{OnboardingModel::Services{preferences, screens, controller, [this] { ++greetings; }}};
};

} // namespace

class TestOnboardingModel : public QObject
{
    Q_OBJECT

private slots:
    // Steps move one page at a time within 0..5 and record their direction.
    void navigationStaysInsideTheSixPages()
    {
        Fixture f;
        QSignalSpy pageChanges(&f.model, &OnboardingModel::currentPageChanged);
        f.model.back();
        QCOMPARE(f.model.currentPage(), 0);
        QVERIFY(f.model.goingForward());
        QCOMPARE(pageChanges.count(), 0);

        f.goTo(OnboardingModel::Integrations);
        QCOMPARE(pageChanges.count(), 5);
        f.model.next();
        QCOMPARE(f.model.currentPage(), 5);
        QCOMPARE(pageChanges.count(), 5);

        f.model.back();
        QCOMPARE(f.model.currentPage(), 4);
        QVERIFY(!f.model.goingForward());
        f.model.next();
        QCOMPARE(f.model.currentPage(), 5);
        QVERIFY(f.model.goingForward());

        // A window opened again starts at the welcome page.
        f.model.back();
        f.model.windowOpened();
        QCOMPARE(f.model.currentPage(), 0);
        QVERIFY(f.model.goingForward());
    }

    // The first showing of the shelf page stores the style that suits the
    // screens; later showings keep what is stored.
    void shelfPagePreselectsOnce_data()
    {
        QTest::addColumn<QList<ScreenInfo>>("screens");
        QTest::addColumn<QJsonObject>("prefs");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("recommended");
        QTest::newRow("plain screen") << QList{plainScreen()} << QJsonObject{} << "floating" << "floating";
        QTest::newRow("housing on the second screen")
            << QList{plainScreen(), housingScreen()} << QJsonObject{{"shelfStyle", "floating"}} << "attached"
            << "attached";
        QTest::newRow("already chosen") << QList{housingScreen()}
                                        << QJsonObject{{"shelfStyle", "floating"}, {"hasSelectedShelfStyle", true}}
                                        << "floating" << "attached";
    }

    void shelfPagePreselectsOnce()
    {
        QFETCH(QList<ScreenInfo>, screens);
        QFETCH(QJsonObject, prefs);
        QFETCH(QString, expected);
        QFETCH(QString, recommended);
        Fixture f(prefs, screens);
        f.goTo(OnboardingModel::ShelfStyle);
        QCOMPARE(f.text(PrefKey::shelfStyle), expected);
        QCOMPARE(f.model.recommendedShelfStyle(), recommended);
        QVERIFY(f.preferences.value(PrefKey::hasSelectedShelfStyle));

        // Another choice survives the next visit, also in a new window.
        const QString other = expected == "attached" ? "floating" : "attached";
        f.preferences.setObject(other, QStringLiteral("shelfStyle"));
        f.model.back();
        f.model.next();
        f.model.windowOpened();
        f.goTo(OnboardingModel::ShelfStyle);
        QCOMPARE(f.text(PrefKey::shelfStyle), other);
    }

    // A style that does not suit the hardware asks first, unless stored already.
    void shelfChoiceAsksOnlyAgainstTheHardware_data()
    {
        QTest::addColumn<bool>("housing");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("alert"); // empty: none
        QTest::addColumn<QString>("expected");
        const QString noHousing = "Your screen has no camera housing. 'Hardware Notch' might look out of place.";
        const QString housing = "Your screen has a camera housing. 'Floating Island' might look out of place.";
        QTest::newRow("no housing, attached, cancel")
            << false << "floating" << "attached" << "cancel" << noHousing << "floating";
        QTest::newRow("housing, floating, change anyway")
            << true << "attached" << "floating" << "confirm" << housing << "floating";
        QTest::newRow("stored, not recommended") << false << "attached" << "attached" << "" << "" << "attached";
        QTest::newRow("recommended") << true << "floating" << "attached" << "" << "" << "attached";
        QTest::newRow("unknown style") << false << "floating" << "docked" << "" << "" << "floating";
    }

    void shelfChoiceAsksOnlyAgainstTheHardware()
    {
        QFETCH(bool, housing);
        QFETCH(QString, stored);
        QFETCH(QString, choice);
        QFETCH(QString, answer);
        QFETCH(QString, alert);
        QFETCH(QString, expected);
        Fixture f({{"shelfStyle", stored}, {"hasSelectedShelfStyle", true}},
                  {housing ? housingScreen() : plainScreen()});
        f.goTo(OnboardingModel::ShelfStyle);
        f.model.chooseShelfStyle(choice);
        QCOMPARE(f.model.showingShelfAlert(), !alert.isEmpty());
        if (!alert.isEmpty()) {
            QCOMPARE(f.model.shelfAlertText(), alert);
            QCOMPARE(f.text(PrefKey::shelfStyle), stored);
            answer == "confirm" ? f.model.confirmShelfChange() : f.model.cancelShelfChange();
            QVERIFY(!f.model.showingShelfAlert());
        }
        QCOMPARE(f.text(PrefKey::shelfStyle), expected);
    }

    // Widgets in order of selection, two to three of them; each tap previews.
    void widgetTapsKeepTwoToThreeInOrderOfSelection_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("tap");
        QTest::addColumn<QString>("expected");
        QTest::newRow("fourth displaces the oldest")
            << "music,weather,calendar" << "scratchpad" << "weather,calendar,scratchpad";
        QTest::newRow("third is added") << "music,weather" << "clipboard" << "music,weather,clipboard";
        QTest::newRow("never below two") << "music,weather" << "music" << "music,weather";
        QTest::newRow("one of three removed") << "music,weather,calendar" << "weather" << "music,calendar";
        QTest::newRow("duplicates removed together") << "music,calendar,music" << "music" << "calendar";
    }

    void widgetTapsKeepTwoToThreeInOrderOfSelection()
    {
        QFETCH(QString, stored);
        QFETCH(QString, tap);
        QFETCH(QString, expected);
        Fixture f({{"activeWidgetsOrder", stored}});
        f.model.toggleWidget(tap);
        QCOMPARE(f.text(PrefKey::activeWidgetsOrder), expected);
        QVERIFY(f.isOpen());
    }

    // Two taps 1 s apart keep the panel open until 3 s after the second;
    // theme choices share the same preview.
    void previewLastsThreeSecondsAfterTheLastChoice()
    {
        Fixture f;
        f.model.toggleWidget(QStringLiteral("clipboard"));
        f.scheduler.advance(1000);
        f.model.chooseGlassUI(true);
        QVERIFY(f.preferences.value(PrefKey::enableGlassUI));
        f.scheduler.advance(2999);
        QVERIFY(f.isOpen());
        f.scheduler.advance(1);
        QVERIFY(f.isClosed());
    }

    // Only "Done" completes; the close control and every choice leave the
    // flow to show again.
    void onlyDoneCompletesTheFlow()
    {
        Fixture f;
        QSignalSpy closes(&f.model, &OnboardingModel::closeRequested);
        f.goTo(OnboardingModel::Integrations);
        f.model.chooseTargetDisplay(QStringLiteral("active"));
        f.model.chooseTargetDisplay(QStringLiteral("left"));
        QCOMPARE(f.text(PrefKey::targetDisplay), QStringLiteral("active"));
        f.model.greet();
        QCOMPARE(f.greetings, 1);
        f.model.close();
        QCOMPARE(closes.count(), 1);
        QVERIFY(!f.preferences.value(PrefKey::hasCompletedOnboarding));
        f.model.complete();
        QCOMPARE(closes.count(), 2);
        QVERIFY(f.preferences.value(PrefKey::hasCompletedOnboarding));
    }
};

QTEST_GUILESS_MAIN(TestOnboardingModel)
#include "tst_onboardingmodel.moc"
