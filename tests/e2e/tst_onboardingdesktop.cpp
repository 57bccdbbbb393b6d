#include "E2eDesktop.h"

#include <QTest>

using namespace talvo::e2e;

namespace {

// Places in the first-run window (600 × 480), in window coordinates.
const QPoint kAppIcon(300, 138);
const QPoint kGetStarted(300, 357);
const QPoint kMainButton(300, 419);
const QPoint kClose(568, 28);
const QPoint kLeftCard(172, 257);
const QPoint kRightCard(428, 257);
const QPoint kScratchpadCard(169, 326);
const QPoint kAway(960, 900);
const QByteArray kTitle = "Welcome to Talvo";

} // namespace

// The first-run flow of the real program as a new user goes through it: the
// choices land in the preferences and on the notch, closing early brings the
// flow back at the next start, finishing it does not.
class TestOnboardingDesktop : public QObject
{
    Q_OBJECT

    std::unique_ptr<E2eDesktop> m_desktop;
    QProcess *m_talvo = nullptr;
    QPoint m_window; // the window's top left on the screen

    QVariant state(const char *name) const { return m_desktop->controlProperty(QString::fromLatin1(name)); }

    QString pref(const char *key) const
    {
        return m_desktop->storedPreferences().value(QLatin1String(key)).toVariant().toString();
    }

    void click(QPoint inWindow)
    {
        m_desktop->movePointer(m_window + inWindow - QPoint(3, 0));
        m_desktop->click(m_window + inWindow);
    }

    // Starts the program; with `expectFlow` waits for the first-run window.
    void start(bool expectFlow)
    {
        m_talvo = m_desktop->startProgram(QStringLiteral(TALVO_BINARY), {});
        QTRY_VERIFY_WITH_TIMEOUT(!m_desktop->notchRect().isEmpty(), 15000);
        xcb_window_t window = XCB_NONE;
        if (!expectFlow) {
            QTest::qWait(1500); // three times the delay of the first-run window
            QCOMPARE(m_desktop->findWindow(kTitle), XCB_NONE);
            return;
        }
        QTRY_VERIFY_WITH_TIMEOUT((window = m_desktop->findWindow(kTitle)) != XCB_NONE, 10000);
        const std::optional<QPoint> origin = m_desktop->windowOrigin(window);
        QVERIFY(origin);
        m_window = *origin;
        QTest::qWait(800); // the first frame
    }

    void stop()
    {
        m_talvo->terminate();
        QVERIFY(m_talvo->waitForFinished(5000));
        m_talvo = nullptr;
    }

    // Presses `at` and waits for `page` to show, its transition over.
    void goTo(QPoint at, int page)
    {
        click(at);
        QTRY_COMPARE_WITH_TIMEOUT(state("onboardingPage"), QVariant(page), 3000);
        QTest::qWait(500);
    }

    // The page as drawn, kept under the build's e2e-screens folder.
    void shoot(const QString &name)
    {
        QTest::qWait(400);
        m_desktop->shoot(QRect(m_window, QSize(600, 480)), name);
    }

private slots:
    void initTestCase()
    {
        E2E_REQUIRE_TOOLS("Xvfb", "dbus-daemon");
    }

    void cleanup()
    {
        if (QTest::currentTestFailed() && m_talvo)
            qInfo().noquote() << m_talvo->readAllStandardOutput() << m_talvo->readAllStandardError().right(3000);
        m_talvo = nullptr;
        m_desktop.reset();
    }

    void newUserGoesThroughTheFlow()
    {
        m_desktop = std::make_unique<E2eDesktop>(E2eDesktop::Options{});
        QVERIFY2(m_desktop->start(), qPrintable(m_desktop->error()));
        m_desktop->movePointer(kAway);
        start(true);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(state("onboardingPage"), QVariant(0));
        shoot(QStringLiteral("onboarding-0-welcome"));
        const QRectF attached = m_desktop->notchRect();

        // The icon greets on the notch.
        click(kAppIcon);
        QTRY_COMPARE_WITH_TIMEOUT(state("isOnboardingGreetingActive"), QVariant(true), 3000);
        QTRY_COMPARE_WITH_TIMEOUT(state("isOnboardingGreetingActive"), QVariant(false), 8000);

        // Without a camera housing the floating style is preselected; the
        // notch moves below the top edge.
        goTo(kGetStarted, 1);
        QCOMPARE(pref("shelfStyle"), QStringLiteral("floating"));
        QCOMPARE(pref("hasSelectedShelfStyle"), QStringLiteral("true"));
        QTRY_VERIFY_WITH_TIMEOUT(m_desktop->notchRect().top() > attached.top(), 3000);
        shoot(QStringLiteral("onboarding-1-shelf-style"));
        // The attached style asks first; Escape answers the question, not the window.
        click(kLeftCard);
        shoot(QStringLiteral("onboarding-1-shelf-style-alert"));
        m_desktop->pressKey(0xff1b);
        m_desktop->releaseKey(0xff1b);
        QTest::qWait(300);
        QVERIFY(m_desktop->findWindow(kTitle) != XCB_NONE);
        QCOMPARE(pref("shelfStyle"), QStringLiteral("floating"));
        click(kRightCard);
        goTo(kMainButton, 2);
        click(kRightCard);
        QTRY_COMPARE_WITH_TIMEOUT(pref("targetDisplay"), QStringLiteral("active"), 3000);
        shoot(QStringLiteral("onboarding-2-display"));
        goTo(kMainButton, 3);
        click(kLeftCard);
        QTRY_COMPARE_WITH_TIMEOUT(pref("enableGlassUI"), QStringLiteral("true"), 3000);
        QTRY_COMPARE_WITH_TIMEOUT(state("isFullyExpanded"), QVariant(true), 2000);
        shoot(QStringLiteral("onboarding-3-theme"));

        // Closing early keeps the choices and brings the flow back, from the start.
        click(kClose);
        QTRY_COMPARE_WITH_TIMEOUT(m_desktop->findWindow(kTitle), XCB_NONE, 3000);
        QCOMPARE(pref("hasCompletedOnboarding"), QString());
        stop();
        start(true);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(state("onboardingPage"), QVariant(0));
        // Enter presses the page's main button.
        m_desktop->pressKey(0xff0d);
        m_desktop->releaseKey(0xff0d);
        QTRY_COMPARE_WITH_TIMEOUT(state("onboardingPage"), QVariant(1), 3000);
        QTest::qWait(500);
        goTo(kMainButton, 2);
        goTo(kMainButton, 3);
        QCOMPARE(pref("shelfStyle"), QStringLiteral("floating"));
        QCOMPARE(pref("targetDisplay"), QStringLiteral("active"));
        QCOMPARE(pref("enableGlassUI"), QStringLiteral("true"));

        goTo(kMainButton, 4);
        QTRY_COMPARE_WITH_TIMEOUT(state("isFullyExpanded"), QVariant(false), 5000);
        click(kScratchpadCard);
        QTRY_COMPARE_WITH_TIMEOUT(pref("activeWidgetsOrder"), QStringLiteral("weather,calendar,scratchpad"), 3000);
        QTRY_COMPARE_WITH_TIMEOUT(state("isFullyExpanded"), QVariant(true), 2000);
        shoot(QStringLiteral("onboarding-4-widgets"));
        goTo(kMainButton, 5);
        shoot(QStringLiteral("onboarding-5-integrations"));
        click(kMainButton);
        QTRY_COMPARE_WITH_TIMEOUT(m_desktop->findWindow(kTitle), XCB_NONE, 3000);
        QCOMPARE(pref("hasCompletedOnboarding"), QStringLiteral("true"));
        const QJsonObject stored = m_desktop->storedPreferences();
        // The flow's choices and start-up's login item mark, nothing else.
        QCOMPARE(QStringList(stored.keys()).join(u' '),
                 QStringLiteral("activeWidgetsOrder didConfigureLaunchAtLoginDefault enableGlassUI "
                                "hasCompletedOnboarding hasSelectedShelfStyle shelfStyle targetDisplay"));

        stop();
        start(false);
    }
};

QTEST_GUILESS_MAIN(TestOnboardingDesktop)
#include "tst_onboardingdesktop.moc"
