#include "fakes/SettingsFixture.h"

#include <QSignalSpy>
#include <QTest>

using namespace talvo;

using Fixture = SettingsFixture;

class TestSettingsController : public QObject
{
    Q_OBJECT

private slots:
    void showPageSwitchesOnlyToKnownPages_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<SettingsController::SettingsTab>("expected");
        QTest::newRow("widgets") << "Widgets" << SettingsController::SettingsTab::Widgets;
        QTest::newRow("about") << "About" << SettingsController::SettingsTab::About;
        QTest::newRow("unknown") << "Shortcuts" << SettingsController::SettingsTab::General;
        QTest::newRow("lower case") << "widgets" << SettingsController::SettingsTab::General;
        QTest::newRow("empty") << "" << SettingsController::SettingsTab::General;
    }

    void showPageSwitchesOnlyToKnownPages()
    {
        QFETCH(QString, name);
        QFETCH(SettingsController::SettingsTab, expected);
        Fixture f;
        f.controller.setSelectedTab(SettingsController::SettingsTab::General);
        f.controller.showPage(name);
        QCOMPARE(f.controller.selectedTab(), expected);
        // A window opened again starts on Home.
        f.controller.windowOpened();
        QCOMPARE(f.controller.selectedTab(), SettingsController::SettingsTab::Home);
    }

    // Every appearance choice stores at once and opens the notch for 3 s
    // after the last one.
    void previewFollowsTheLastChoice()
    {
        Fixture f;
        f.controller.chooseGlassUI(true);
        QVERIFY(f.preferences.value(PrefKey::enableGlassUI));
        QVERIFY(f.isOpen());
        f.scheduler.advance(1000);
        f.controller.chooseFramelessWidgets(false);
        QVERIFY(!f.preferences.value(PrefKey::enableFramelessWidgets));
        f.scheduler.advance(2500); // 3.5 s after the first choice
        QVERIFY(f.isOpen());
        f.scheduler.advance(499);
        QVERIFY(f.isOpen());
        f.scheduler.advance(1);
        QVERIFY(f.isClosed());

        f.controller.chooseTargetDisplay(QStringLiteral("active"));
        QCOMPARE(f.preferences.value(PrefKey::targetDisplay), QStringLiteral("active"));
        f.scheduler.advance(3000);
        QVERIFY(f.isClosed());
    }

    void shelfStyleAsksOnlyForFloatingOverAHousing_data()
    {
        QTest::addColumn<bool>("housing");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("answer"); // to the alert, if it shows
        QTest::addColumn<bool>("alert");
        QTest::addColumn<QString>("expected");

        QTest::newRow("floating, no housing") << false << "attached" << "floating" << "" << false << "floating";
        QTest::newRow("floating, housing, cancel") << true << "attached" << "floating" << "cancel" << true
                                                   << "attached";
        QTest::newRow("floating, housing, change anyway")
            << true << "attached" << "floating" << "confirm" << true << "floating";
        QTest::newRow("floating again, housing") << true << "floating" << "floating" << "" << false << "floating";
        QTest::newRow("attached, housing") << true << "floating" << "attached" << "" << false << "attached";
        QTest::newRow("unknown style ignored") << false << "attached" << "docked" << "" << false << "attached";
    }

    void shelfStyleAsksOnlyForFloatingOverAHousing()
    {
        QFETCH(bool, housing);
        QFETCH(QString, stored);
        QFETCH(QString, choice);
        QFETCH(QString, answer);
        QFETCH(bool, alert);
        QFETCH(QString, expected);
        const ScreenInfo screen = housing ? plainScreen().withCameraHousing(QSizeF(200, 32)) : plainScreen();
        Fixture f({{"shelfStyle", stored}}, {plainScreen().withCameraHousing({}), screen});
        QCOMPARE(f.controller.hasPhysicalNotch(), housing);

        f.controller.chooseShelfStyle(choice);
        QCOMPARE(f.controller.showingShelfAlert(), alert);
        if (alert) {
            QCOMPARE(f.controller.pendingShelfSelection(), choice);
            QCOMPARE(f.preferences.value(PrefKey::shelfStyle), stored);
            QVERIFY(f.isClosed());
            answer == "confirm" ? f.controller.confirmShelfChange() : f.controller.cancelShelfChange();
            QVERIFY(!f.controller.showingShelfAlert());
            QCOMPARE(f.controller.pendingShelfSelection(), QString());
        }
        QCOMPARE(f.preferences.value(PrefKey::shelfStyle), expected);
        // A stored choice previews; a cancelled or ignored one leaves the notch alone.
        QCOMPARE(f.isOpen(), answer != "cancel" && choice != "docked");
    }

    void launchAtLoginShowsTheRealStateAfterAFailure_data()
    {
        QTest::addColumn<bool>("startsEnabled");
        QTest::addColumn<bool>("turnOn");
        QTest::addColumn<bool>("fails");
        QTest::addColumn<bool>("expected");
        QTest::newRow("on") << false << true << false << true;
        QTest::newRow("on fails") << false << true << true << false;
        QTest::newRow("off") << true << false << false << false;
    }

    void launchAtLoginShowsTheRealStateAfterAFailure()
    {
        QFETCH(bool, startsEnabled);
        QFETCH(bool, turnOn);
        QFETCH(bool, fails);
        QFETCH(bool, expected);
        Fixture f;
        f.loginItem.currentStatus = startsEnabled ? LoginItemService::Status::Enabled
                                                  : LoginItemService::Status::NotRegistered;
        f.controller.windowOpened();
        QCOMPARE(f.controller.launchAtLogin(), startsEnabled);
        if (fails) {
            f.loginItem.failure = QStringLiteral("read-only folder");
            QTest::ignoreMessage(QtWarningMsg, "Failed to register the login item: read-only folder");
        }
        QSignalSpy changed(&f.controller, &SettingsController::launchAtLoginChanged);
        f.controller.setLaunchAtLogin(turnOn);
        QCOMPARE(f.controller.launchAtLogin(), expected);
        // Announced even when it stays, so a flipped switch goes back.
        QCOMPARE(changed.count(), 1);
    }

    void homeAndAboutActions()
    {
        Fixture f;
        f.controller.checkForUpdates();
        QVERIFY(f.controller.updateMessage().contains("no update feed"));
        f.controller.visitWebsite();
        QVERIFY(f.opener.opened.isEmpty());
        f.controller.quit();
        QCOMPARE(f.quits, 1);
        QCOMPARE(f.controller.releaseNotes().size(), 6);
        for (const QString &note : f.controller.releaseNotes())
            QVERIFY2(!note.contains("Mac") && !note.contains("macOS") && !note.contains("Apple"), qPrintable(note));
    }
};

QTEST_GUILESS_MAIN(TestSettingsController)
#include "tst_settingscontroller.moc"
