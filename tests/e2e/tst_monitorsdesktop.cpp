#include "E2eDesktop.h"

#include <QElapsedTimer>
#include <QTest>

using namespace talvo::e2e;
using namespace Qt::Literals::StringLiterals;

namespace {

using Monitor = E2eDesktop::Monitor;

// One X screen split into two RandR monitors of different sizes, tops aligned.
const QSize kScreen(3200, 1080);
const Monitor kLeft{u"DP-1"_s, QRect(0, 0, 1920, 1080)};
const Monitor kRight{u"HDMI-1"_s, QRect(1920, 0, 1280, 800)};
const Monitor kRightMain{u"DP-1"_s, QRect(1280, 0, 1920, 1080)};
const Monitor kLeftSide{u"HDMI-1"_s, QRect(0, 0, 1280, 800)};
// The top of the screen, where every notch shows; the rows checked for
// stray drawing: monitors' tops are at 0 or 280.
const QRect kBand(0, 0, kScreen.width(), 340);
const int kTopRows[] = {6, 286};

int middleX(const Monitor &m) { return m.geometry.x() + m.geometry.width() / 2; }

// The idle outline and the peek centred on a monitor's top edge.
QRectF collapsedOn(const Monitor &m, QSizeF size = {185, 24})
{
    return {middleX(m) - size.width() / 2, qreal(m.geometry.top()), size.width(), size.height()};
}
QRectF peekOn(const Monitor &m) { return collapsedOn(m, {235, 32}); }
QPoint hotZoneOf(const Monitor &m) { return {middleX(m), m.geometry.top() + 5}; }
QPoint middleOf(const Monitor &m) { return {middleX(m), m.geometry.top() + 400}; }

} // namespace

Q_DECLARE_METATYPE(E2eDesktop::Monitor)

// The notch on a desktop of two monitors: the program on a private X server
// whose screen RandR splits in two, the pointer driven through XTest.
class TestMonitorsDesktop : public QObject
{
    Q_OBJECT

    std::unique_ptr<E2eDesktop> m_desktop;
    QProcess *m_talvo = nullptr;

    void launch(const QList<Monitor> &monitors, const QString &targetDisplay, const QString &housings = {})
    {
        E2eDesktop::Options options;
        options.screen = kScreen;
        options.monitors = monitors;
        options.compositor = true;
        options.backgroundProgram = QStringLiteral(TALVO_E2E_WINDOW);
        m_desktop = std::make_unique<E2eDesktop>(options);
        QVERIFY2(m_desktop->start(), qPrintable(m_desktop->error()));
        if (!housings.isEmpty())
            m_desktop->setEnvironmentValue(u"TALVO_CAMERA_HOUSING"_s, housings);
        for (const auto &[key, value] : {std::pair{u"hasCompletedOnboarding"_s, u"true"_s},
                                         std::pair{u"targetDisplay"_s, targetDisplay}})
            QVERIFY(m_desktop->run(QStringLiteral(TALVO_BINARY), {u"prefs"_s, u"set"_s, key, value}));
        m_desktop->movePointer(middleOf(monitors.first()));
        m_talvo = m_desktop->startProgram(QStringLiteral(TALVO_BINARY), {});
        QTRY_COMPARE_WITH_TIMEOUT(m_desktop->notchRect(), collapsedOn(monitors.first()), 15000);
    }
    QVariant state(const char *name) const { return m_desktop->controlProperty(QString::fromLatin1(name)); }

    // Waits until the notch's outline is `rect`; the time it took in ms, or -1.
    qint64 waitForOutline(const QRectF &rect, int timeoutMs = 2000)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            if (m_desktop->notchRect() == rect)
                return timer.elapsed();
            QTest::qWait(5);
        }
        return -1;
    }

    // What the screen shows once the springs have come to rest (two looks
    // 150 ms apart alike): black in the body (above its rounded bottom
    // corners) and the background along the top rows of the monitors, clear of
    // the body and its shadow. An empty text when it is so.
    QString drawnOnlyAt(const QRectF &outline)
    {
        QElapsedTimer waited;
        waited.start();
        QImage band = m_desktop->grab(kBand);
        while (waited.elapsed() < 3000) {
            QTest::qWait(150);
            QImage next = m_desktop->grab(kBand);
            if (next == band)
                break;
            band = std::move(next);
        }
        const auto at = [&](qreal x, qreal y) { return band.pixel(int(x), int(y)) | 0xff000000; };
        const QPointF inside(outline.center().x(), outline.bottom() - 6);
        if (at(inside.x(), inside.y()) != 0xff000000)
            return u"the body is not drawn at %1,%2"_s.arg(inside.x()).arg(inside.y());
        for (const int y : kTopRows) {
            for (int x = 8; x < kScreen.width(); x += 16) {
                if (x > outline.left() - 24 && x < outline.right() + 24 && y < outline.bottom())
                    continue;
                if (at(x, y) != E2eDesktop::kBackground)
                    return u"something is drawn at %1,%2"_s.arg(x).arg(y);
            }
        }
        return {};
    }
    void saveBand(const QString &name)
    {
        m_desktop->shoot(kBand, u"monitors-%1"_s.arg(name));
    }

private slots:
    void initTestCase()
    {
        E2E_REQUIRE_TOOLS("Xvfb", "dbus-daemon", "xrandr", "xcompmgr");
    }
    void cleanup()
    {
        m_talvo = nullptr;
        m_desktop.reset();
    }

    void mainKeepsTheNotchOnTheFirstMonitor_data()
    {
        QTest::addColumn<QList<Monitor>>("monitors");
        QTest::newRow("main on the left") << QList<Monitor>{kLeft, kRight};
        QTest::newRow("main on the right") << QList<Monitor>{kRightMain, kLeftSide};
    }
    void mainKeepsTheNotchOnTheFirstMonitor()
    {
        QFETCH(QList<Monitor>, monitors);
        launch(monitors, u"main"_s);
        if (QTest::currentTestFailed())
            return;
        const Monitor &main = monitors[0];
        const Monitor &other = monitors[1];
        QTRY_COMPARE_WITH_TIMEOUT(drawnOnlyAt(collapsedOn(main)), QString(), 3000);

        // The other monitor's hot zone is nothing but desktop.
        m_desktop->glidePointer(middleOf(main), hotZoneOf(other), 8, 20);
        QTest::qWait(300);
        QCOMPARE(state("isHovering"), QVariant(false));
        QCOMPARE(m_desktop->notchRect(), collapsedOn(main));
        QTRY_COMPARE_WITH_TIMEOUT(drawnOnlyAt(collapsedOn(main)), QString(), 3000);

        m_desktop->glidePointer(hotZoneOf(other), hotZoneOf(main), 8, 20);
        QVERIFY(waitForOutline(peekOn(main)) >= 0);
        QTRY_COMPARE_WITH_TIMEOUT(drawnOnlyAt(peekOn(main)), QString(), 3000);
        saveBand(u"main-"_s + QString::fromLatin1(QTest::currentDataTag()).split(u' ').last());
    }

    // One motion event onto the other monitor's hot zone moves the notch there
    // and peeks in the same hover check; without an event the poll sees it.
    void activeFollowsThePointer_data()
    {
        QTest::addColumn<Monitor>("right");
        QTest::newRow("tops aligned") << kRight;
        QTest::newRow("bottoms aligned") << Monitor{kRight.name, kRight.geometry.translated(0, 280)};
    }
    void activeFollowsThePointer()
    {
        QFETCH(Monitor, right);
        launch({kLeft, right}, u"active"_s);
        if (QTest::currentTestFailed())
            return;
        m_desktop->movePointer(hotZoneOf(right));
        const qint64 moved = waitForOutline(peekOn(right));
        QVERIFY2(moved >= 0, "the notch did not come");
        qInfo("peek on the other monitor %lld ms after the pointer came", moved);
        QVERIFY2(moved < 500, "not within a hover check");
        QCOMPARE(state("isHovering"), QVariant(true));
        QTRY_COMPARE_WITH_TIMEOUT(drawnOnlyAt(peekOn(right)), QString(), 3000);
        saveBand(u"active-"_s + QString::fromLatin1(QTest::currentDataTag()).split(u' ').first());

        m_desktop->warpPointer(middleOf(kLeft));
        QVERIFY(waitForOutline(collapsedOn(kLeft)) >= 0);
        QCOMPARE(state("isHovering"), QVariant(false));
        QTRY_COMPARE_WITH_TIMEOUT(drawnOnlyAt(collapsedOn(kLeft)), QString(), 3000);
    }

    void removedMonitorGivesTheNotchBack()
    {
        launch({kLeft, kRight}, u"active"_s);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(m_desktop->openPanel(middleOf(kRight), hotZoneOf(kRight)));
        QCOMPARE(m_desktop->notchRect().center().x(), middleX(kRight));

        // Unplugged under the open panel; the pointer stays where it was.
        QVERIFY(m_desktop->removeMonitor(kRight.name));
        QVERIFY(waitForOutline(collapsedOn(kLeft)) >= 0);
        QCOMPARE(state("isFullyExpanded"), QVariant(false));
        QTRY_COMPARE_WITH_TIMEOUT(drawnOnlyAt(collapsedOn(kLeft)), QString(), 3000);
        const xcb_window_t window = m_desktop->findWindow("Talvo");
        QCOMPARE(m_desktop->windowOrigin(window), std::optional(QPoint(530, 0)));
        saveBand(u"removed"_s);
        m_desktop->movePointer(hotZoneOf(kLeft));
        QVERIFY(waitForOutline(peekOn(kLeft)) >= 0);

        // Plugged in again, it takes the notch when the pointer goes there.
        QVERIFY(m_desktop->setMonitor(kRight));
        m_desktop->glidePointer(hotZoneOf(kLeft), hotZoneOf(kRight), 8, 20);
        QVERIFY(waitForOutline(peekOn(kRight)) >= 0);
        QCOMPARE(m_talvo->state(), QProcess::Running);
    }

    // "main" follows the primary monitor when another becomes it, and the
    // notch goes along when that monitor comes back in another size.
    void reconfiguredMonitorsCarryTheNotch()
    {
        launch({kLeft, kRight}, u"main"_s);
        if (QTest::currentTestFailed())
            return;
        const Monitor smaller{kRight.name, QRect(1920, 0, 1024, 768)};
        for (const Monitor &main : {kRight, smaller}) {
            QVERIFY(m_desktop->removeMonitor(main.name));
            QVERIFY(m_desktop->setMonitor(main, true));
            QVERIFY2(waitForOutline(collapsedOn(main)) >= 0, qPrintable(main.name));
        }
        QTRY_COMPARE_WITH_TIMEOUT(drawnOnlyAt(collapsedOn(smaller)), QString(), 3000);
        saveBand(u"reconfigured"_s);
    }

    // A housing of 300 by 40 on the second output only: the idle outline is
    // the housing's width plus 4 there, and its hot zone the width plus 20.
    void cameraHousingShapesOnlyItsOutput()
    {
        launch({kLeft, kRight}, u"active"_s, u"HDMI-1:300x40"_s);
        if (QTest::currentTestFailed())
            return;
        QTRY_COMPARE_WITH_TIMEOUT(drawnOnlyAt(collapsedOn(kLeft)), QString(), 3000);
        m_desktop->glidePointer(middleOf(kLeft), middleOf(kRight), 8, 20);
        const QRectF housed = collapsedOn(kRight, {304, 40});
        QVERIFY(waitForOutline(housed) >= 0);
        QTRY_COMPARE_WITH_TIMEOUT(drawnOnlyAt(housed), QString(), 3000);
        saveBand(u"housing-right"_s);

        // Beyond the plain hot zone (110 from the middle), within the housing's:
        // the peek, 50 wider and 8 taller than the idle outline.
        m_desktop->movePointer(QPoint(middleX(kRight) + 150, 30));
        QVERIFY(waitForOutline(collapsedOn(kRight, {354, 48})) >= 0);

        m_desktop->movePointer(QPoint(middleX(kLeft) + 150, 30));
        QVERIFY(waitForOutline(collapsedOn(kLeft)) >= 0);
        QCOMPARE(state("isHovering"), QVariant(false));
        QTRY_COMPARE_WITH_TIMEOUT(drawnOnlyAt(collapsedOn(kLeft)), QString(), 3000);
        saveBand(u"housing-left"_s);
    }
};

QTEST_GUILESS_MAIN(TestMonitorsDesktop)
#include "tst_monitorsdesktop.moc"
