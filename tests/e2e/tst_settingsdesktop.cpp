#include "E2eDesktop.h"

#include <QElapsedTimer>
#include <QTest>

using namespace talvo::e2e;

namespace {

// Places in the settings window (980 × 680), in window coordinates.
const QPoint kSidebarGeneral(100, 112);
const QPoint kSidebarWidgets(100, 150);
const QPoint kSidebarAbout(100, 188);
const QPoint kQuit(893, 137);
const QPoint kGlassCard(760, 600);
const QPoint kWeatherCard(770, 301);
const QPoint kScratchpadCard(400, 523);
const QPoint kResetToDefaults(903, 115);
// The ordering strip with the default widgets: Music first, Calendar last.
const QRect kStrip(229, 132, 723, 64);
const QPoint kFirstSlot(430, 164);
const QPoint kLastSlot(735, 164);
const QPoint kHotZone(960, 5);
const QPoint kAway(960, 900);

} // namespace

// The settings window of the real program: page switching, a preview on the
// notch, the widget choice and order, and changes made from the command line.
class TestSettingsDesktop : public QObject
{
    Q_OBJECT

    std::unique_ptr<E2eDesktop> m_desktop;
    QProcess *m_talvo = nullptr;
    QPoint m_window; // the settings window's top left on the screen

    QVariant state(const char *name) const { return m_desktop->controlProperty(QString::fromLatin1(name)); }

    QString pref(const QString &key) const
    {
        return m_desktop->storedPreferences().value(key).toVariant().toString();
    }

    bool setPref(const QStringList &arguments)
    {
        return m_desktop->run(QStringLiteral(TALVO_BINARY), QStringList{QStringLiteral("prefs"), QStringLiteral("set")}
                                                                + arguments);
    }

    void click(QPoint inWindow)
    {
        m_desktop->movePointer(m_window + inWindow - QPoint(3, 0));
        m_desktop->click(m_window + inWindow);
    }

    // The running program with its settings open, after a second launch.
    void openSettings()
    {
        m_desktop = std::make_unique<E2eDesktop>(E2eDesktop::Options{});
        QVERIFY2(m_desktop->start(), qPrintable(m_desktop->error()));
        m_desktop->movePointer(kAway);
        QVERIFY(setPref({QStringLiteral("hasCompletedOnboarding"), QStringLiteral("true")}));
        m_talvo = m_desktop->startProgram(QStringLiteral(TALVO_BINARY), {});
        QTRY_VERIFY_WITH_TIMEOUT(!m_desktop->notchRect().isEmpty(), 15000);
        QProcess *second = m_desktop->startProgram(QStringLiteral(TALVO_BINARY), {});
        QVERIFY(second->waitForFinished(10000));
        xcb_window_t window = XCB_NONE;
        QTRY_VERIFY_WITH_TIMEOUT((window = m_desktop->findWindow("Talvo Settings")) != XCB_NONE, 10000);
        const std::optional<QPoint> origin = m_desktop->windowOrigin(window);
        QVERIFY(origin);
        m_window = *origin;
        QTest::qWait(800); // the first frame
    }

    bool waitClosed()
    {
        m_desktop->movePointer(kAway);
        return QTest::qWaitFor([this] { return !state("isFullyExpanded").toBool(); }, 3000);
    }

    // The width of the open notch, opened by a click on its hot zone; 0 when
    // it does not open or close.
    qreal openWidth()
    {
        if (!waitClosed())
            return 0;
        const bool opened = QTest::qWaitFor(
            [this] {
                m_desktop->glidePointer(kAway, kHotZone, 6, 10);
                m_desktop->click(kHotZone);
                return QTest::qWaitFor([this] { return state("panelPresent").toBool(); }, 1000);
            },
            6000);
        QTest::qWait(600); // the spring at rest
        const qreal width = opened ? m_desktop->notchRect().width() : 0;
        return waitClosed() ? width : 0;
    }

    // The window as drawn, kept under the build's e2e-screens folder.
    void shoot(const QString &name)
    {
        QTest::qWait(700);
        m_desktop->shoot(QRect(m_window, QSize(980, 680)), name);
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

    void pagesAndGlassPreview()
    {
        openSettings();
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(state("settingsPage"), QVariant(QStringLiteral("Home")));
        shoot(QStringLiteral("settings-home"));

        click(kSidebarGeneral);
        QTRY_COMPARE_WITH_TIMEOUT(state("settingsPage"), QVariant(QStringLiteral("General")), 3000);
        shoot(QStringLiteral("settings-general"));
        QCOMPARE(state("isFullyExpanded"), QVariant(false));
        click(kGlassCard);
        QElapsedTimer open;
        open.start();
        QTRY_COMPARE_WITH_TIMEOUT(pref(QStringLiteral("enableGlassUI")), QStringLiteral("true"), 3000);
        QTRY_COMPARE_WITH_TIMEOUT(state("isFullyExpanded"), QVariant(true), 1000);
        QTRY_COMPARE_WITH_TIMEOUT(state("isFullyExpanded"), QVariant(false), 5000);
        QVERIFY2(open.elapsed() > 2500 && open.elapsed() < 4000, qPrintable(QString::number(open.elapsed())));

        click(kSidebarAbout);
        QTRY_COMPARE_WITH_TIMEOUT(state("settingsPage"), QVariant(QStringLiteral("About")), 3000);
        shoot(QStringLiteral("settings-about"));

        // The sidebar takes the first Tab and follows the arrow keys.
        for (const quint32 key : {0xff09u /* Tab */, 0xff52u /* Up */}) {
            m_desktop->pressKey(key);
            m_desktop->releaseKey(key);
        }
        QTRY_COMPARE_WITH_TIMEOUT(state("settingsPage"), QVariant(QStringLiteral("Widgets")), 3000);

        click(kSidebarAbout);
        click(kQuit);
        QVERIFY(m_talvo->waitForFinished(5000));
        QCOMPARE(m_talvo->exitCode(), 0);
        m_talvo = nullptr;
    }

    void widgetsChoiceOrderAndOutsideChanges()
    {
        openSettings();
        if (QTest::currentTestFailed())
            return;
        const qreal threeWide = openWidth();
        QVERIFY(threeWide > 0);
        click(kSidebarWidgets);
        QTRY_COMPARE_WITH_TIMEOUT(state("settingsPage"), QVariant(QStringLiteral("Widgets")), 3000);
        shoot(QStringLiteral("settings-widgets"));

        // A fourth widget displaces the oldest; the notch stays three wide.
        click(kScratchpadCard);
        QTRY_COMPARE_WITH_TIMEOUT(pref(QStringLiteral("activeWidgetsOrder")),
                                  QStringLiteral("weather,calendar,scratchpad"), 3000);
        QCOMPARE(openWidth(), threeWide);
        click(kSidebarWidgets); // the window has the focus again
        click(kWeatherCard);
        QTRY_COMPARE_WITH_TIMEOUT(pref(QStringLiteral("activeWidgetsOrder")), QStringLiteral("calendar,scratchpad"),
                                  3000);
        const qreal twoWide = openWidth();
        QVERIFY2(twoWide > 0 && twoWide < threeWide, qPrintable(QStringLiteral("%1 %2").arg(twoWide).arg(threeWide)));

        // The first slot dragged onto the last takes its place while over it.
        click(kResetToDefaults);
        QTRY_COMPARE_WITH_TIMEOUT(pref(QStringLiteral("activeWidgetsOrder")),
                                  QStringLiteral("music,weather,calendar"), 3000);
        QTest::qWait(300);
        m_desktop->movePointer(m_window + kFirstSlot);
        m_desktop->pressButton(1);
        m_desktop->glidePointer(m_window + kFirstSlot, m_window + kLastSlot, 20, 20);
        QTRY_COMPARE_WITH_TIMEOUT(pref(QStringLiteral("activeWidgetsOrder")),
                                  QStringLiteral("weather,calendar,music"), 3000);
        shoot(QStringLiteral("settings-widgets-dragging"));
        m_desktop->releaseButton(1);
        QTest::qWait(300);
        QCOMPARE(pref(QStringLiteral("activeWidgetsOrder")), QStringLiteral("weather,calendar,music"));

        // A change from the command line shows at once.
        const QImage before = m_desktop->grab(kStrip.translated(m_window));
        QVERIFY(setPref({QStringLiteral("activeWidgetsOrder"), QStringLiteral("clipboard,,scratchpad")}));
        QTRY_VERIFY_WITH_TIMEOUT(m_desktop->grab(kStrip.translated(m_window)) != before, 3000);
        shoot(QStringLiteral("settings-widgets-outside"));
    }
};

QTEST_GUILESS_MAIN(TestSettingsDesktop)
#include "tst_settingsdesktop.moc"
