#include "E2eDesktop.h"

#include <QTest>

#include <xcb/shape.h>

using namespace talvo::e2e;

namespace {

const QRectF kCollapsed(867.5, 0, 185, 24);
const QRectF kPeek(842.5, 0, 235, 32);
const QRectF kExpanded(530, 0, 860, 166);
const QRectF kFileDrag(800, 0, 320, 101);
const QRect kWindowFrame(530, 0, 860, 250);
const QPoint kHotZone(960, 5);

// Every pixel of the notch window's area that lies clearly inside the body
// must be black and every one clearly outside it (and its shadow) must show
// the background. Inside: below the ears (inset by the 12-point top radius on
// both sides) and clear of the rounded bottom corners (32 at the most).
// Outside: beyond the 8-point shadow (with its soft fringe), which falls 3
// points down.
// `blackInside` false: content may be drawn inside (the open panel).
// Returns the first offending pixel, or an empty text.
QString checkDrawing(E2eDesktop &desktop, const QRectF &outline, bool blackInside = true)
{
    const QImage shot = desktop.grab(kWindowFrame);
    if (shot.isNull())
        return QStringLiteral("no screenshot");
    const QRectF inner = outline.adjusted(13, 1, -13, -1);
    const QRectF innerAboveCorners = inner.adjusted(0, 0, 0, -32);
    const QRectF innerBetweenCorners = inner.adjusted(32, 0, -32, 0);
    const QRectF outer = outline.adjusted(-12, -1, 12, 14);
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QPointF centre(kWindowFrame.x() + x + 0.5, kWindowFrame.y() + y + 0.5);
            const QRgb pixel = shot.pixel(x, y) | 0xff000000;
            // (QRectF::contains() would take a rectangle of negative size as its mirror.)
            const bool inside = (innerAboveCorners.isValid() && innerAboveCorners.contains(centre))
                                || (innerBetweenCorners.isValid() && innerBetweenCorners.contains(centre));
            if (blackInside && inside && pixel != 0xff000000)
                return QStringLiteral("(%1, %2) inside is #%3").arg(centre.x()).arg(centre.y()).arg(pixel, 0, 16);
            if (!outer.contains(centre) && pixel != E2eDesktop::kBackground)
                return QStringLiteral("(%1, %2) outside is #%3").arg(centre.x()).arg(centre.y()).arg(pixel, 0, 16);
        }
    }
    return {};
}

} // namespace

// The real program on a private X server, driven through XTest and watched
// through its control interface on a private session bus.
class TestNotchDesktop : public QObject
{
    Q_OBJECT

    std::unique_ptr<E2eDesktop> m_desktop;
    QProcess *m_talvo = nullptr;

    // Starts a desktop and Talvo on it; the test fails when that does not work.
    void launch(bool compositor)
    {
        m_desktop = std::make_unique<E2eDesktop>(
            E2eDesktop::Options{QSize(1920, 1080), compositor, QStringLiteral(TALVO_E2E_WINDOW)});
        QVERIFY2(m_desktop->start(), qPrintable(m_desktop->error()));
        m_desktop->movePointer(QPoint(960, 700));
        m_talvo = m_desktop->startProgram(QStringLiteral(TALVO_BINARY), {});
        // Up once the outline is published and the window lets the pointer through.
        QTRY_COMPARE_WITH_TIMEOUT(m_desktop->notchRect(), kCollapsed, 15000);
        QTRY_COMPARE_WITH_TIMEOUT(m_desktop->controlProperty(QStringLiteral("ignoresMouseEvents")), QVariant(true),
                                  5000);
    }
    QVariant state(const char *name) const { return m_desktop->controlProperty(QString::fromLatin1(name)); }

private slots:
    void initTestCase()
    {
        E2E_REQUIRE_TOOLS("Xvfb", "dbus-daemon", "xcompmgr");
    }
    void cleanup()
    {
        m_talvo = nullptr;
        m_desktop.reset();
    }

    void hoverClickAndLeave_data()
    {
        QTest::addColumn<bool>("compositor");
        QTest::newRow("composited") << true;
        QTest::newRow("bare") << false;
    }
    void hoverClickAndLeave()
    {
        QFETCH(bool, compositor);
        launch(compositor);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(state("isHovering"), QVariant(false));

        m_desktop->glidePointer(QPoint(960, 700), kHotZone, 10, 10);
        QTRY_COMPARE_WITH_TIMEOUT(state("isHovering"), QVariant(true), 2000);
        QCOMPARE(m_desktop->notchRect(), kPeek);
        QCOMPARE(state("isFullyExpanded"), QVariant(false));
        QTRY_COMPARE_WITH_TIMEOUT(state("ignoresMouseEvents"), QVariant(false), 2000);

        m_desktop->click(kHotZone);
        QTRY_COMPARE_WITH_TIMEOUT(state("isFullyExpanded"), QVariant(true), 2000);
        QCOMPARE(m_desktop->notchRect(), kExpanded);

        // 20 beyond the panel's lower edge still counts as over it.
        m_desktop->movePointer(QPoint(960, 185));
        QTest::qWait(300);
        QCOMPARE(state("isFullyExpanded"), QVariant(true));

        m_desktop->movePointer(QPoint(960, 200));
        QTRY_COMPARE_WITH_TIMEOUT(state("isHovering"), QVariant(false), 2000);
        QCOMPARE(state("isFullyExpanded"), QVariant(false));
        QCOMPARE(m_desktop->notchRect(), kCollapsed);
        QTRY_COMPARE_WITH_TIMEOUT(state("ignoresMouseEvents"), QVariant(true), 2000);
    }

    void drawsOnlyTheOutline_data()
    {
        QTest::addColumn<bool>("compositor");
        QTest::newRow("composited") << true;
        QTest::newRow("bare") << false;
    }
    void drawsOnlyTheOutline()
    {
        QFETCH(bool, compositor);
        launch(compositor);
        if (QTest::currentTestFailed())
            return;
        QTRY_COMPARE_WITH_TIMEOUT(checkDrawing(*m_desktop, kCollapsed), QString(), 3000);
        m_desktop->movePointer(kHotZone);
        QTRY_COMPARE_WITH_TIMEOUT(m_desktop->notchRect(), kPeek, 2000);
        QTRY_COMPARE_WITH_TIMEOUT(checkDrawing(*m_desktop, kPeek), QString(), 3000);
        m_desktop->click(kHotZone);
        QTRY_COMPARE_WITH_TIMEOUT(m_desktop->notchRect(), kExpanded, 2000);
        // The open panel draws its header and cards inside.
        QTRY_COMPARE_WITH_TIMEOUT(checkDrawing(*m_desktop, kExpanded, false), QString(), 3000);
    }

    void followsTheCompositingManager()
    {
        launch(false);
        if (QTest::currentTestFailed())
            return;
        const xcb_window_t window = m_desktop->findWindow("Talvo");
        QVERIFY(window != XCB_NONE);
        auto boundingRectangles = [&] { return shapeRectangles(m_desktop->x(), window, XCB_SHAPE_SK_BOUNDING); };
        // Without one, only the body (in window coordinates, on whole pixels as
        // the view places it) is drawn at all.
        const QList<QRect> body{QRect(337, 0, 185, 24)};
        QTRY_COMPARE_WITH_TIMEOUT(boundingRectangles(), body, 2000);

        QVERIFY(m_desktop->startCompositor());
        QTRY_COMPARE_WITH_TIMEOUT(boundingRectangles(), QList<QRect>{QRect(0, 0, 860, 250)}, 3000);
        QTRY_COMPARE_WITH_TIMEOUT(checkDrawing(*m_desktop, kCollapsed), QString(), 3000);

        m_desktop->stopCompositor();
        QTRY_COMPARE_WITH_TIMEOUT(boundingRectangles(), body, 3000);
        QTRY_COMPARE_WITH_TIMEOUT(checkDrawing(*m_desktop, kCollapsed), QString(), 3000);
    }

    void fileDragsAnywhere_data()
    {
        QTest::addColumn<QStringList>("offer");
        QTest::addColumn<bool>("files");
        QTest::newRow("files") << QStringList{QStringLiteral("--files"), QStringLiteral(TALVO_E2E_WINDOW)} << true;
        QTest::newRow("text") << QStringList{QStringLiteral("--text"), QStringLiteral("hello")} << false;
    }
    void fileDragsAnywhere()
    {
        QFETCH(QStringList, offer);
        QFETCH(bool, files);
        launch(true);
        if (QTest::currentTestFailed())
            return;
        QProcess *source = m_desktop->startProgram(
            QStringLiteral(TALVO_E2E_DRAGSOURCE),
            QStringList{QStringLiteral("100"), QStringLiteral("500"), QStringLiteral("200"), QStringLiteral("200")}
                + offer);
        QVERIFY(E2eDesktop::waitForLine(source, QStringLiteral("ready")));

        m_desktop->movePointer(QPoint(200, 600));
        m_desktop->pressButton(1);
        QVERIFY(E2eDesktop::waitForLine(source, QStringLiteral("drag started")));
        m_desktop->glidePointer(QPoint(200, 600), QPoint(700, 400), 10, 30);
        if (files) {
            QTRY_COMPARE_WITH_TIMEOUT(state("isFileDragActive"), QVariant(true), 2000);
            QCOMPARE(m_desktop->notchRect(), kFileDrag);
            QTRY_COMPARE_WITH_TIMEOUT(state("ignoresMouseEvents"), QVariant(false), 2000);
        } else {
            m_desktop->glidePointer(QPoint(700, 400), QPoint(700, 450), 5, 30);
            QTest::qWait(300);
            QCOMPARE(state("isFileDragActive"), QVariant(false));
        }
        m_desktop->releaseButton(1);
        QVERIFY(E2eDesktop::waitForLine(source, QStringLiteral("drag ended")));
        QTRY_COMPARE_WITH_TIMEOUT(state("isFileDragActive"), QVariant(false), 2000);

        // Selecting by dragging afterwards leaves the notch alone, though the
        // drag selection still holds the finished drag.
        m_desktop->movePointer(QPoint(1000, 700));
        m_desktop->pressButton(1);
        m_desktop->glidePointer(QPoint(1000, 700), QPoint(1200, 800), 8, 30);
        QTest::qWait(200);
        QCOMPARE(state("isFileDragActive"), QVariant(false));
        m_desktop->releaseButton(1);
    }

    void passiveClickReachesTheWindowBelow_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::newRow("beside the notch") << QPoint(600, 100);
        QTest::newRow("below the notch") << QPoint(960, 60);
    }
    void passiveClickReachesTheWindowBelow()
    {
        QFETCH(QPoint, point);
        launch(false);
        if (QTest::currentTestFailed())
            return;
        m_desktop->click(point);
        QVERIFY(E2eDesktop::waitForLine(m_desktop->background(),
                                        QStringLiteral("press %1 %2").arg(point.x()).arg(point.y()), 3000));
        QCOMPARE(state("isHovering"), QVariant(false));
    }

};

QTEST_GUILESS_MAIN(TestNotchDesktop)
#include "tst_notchdesktop.moc"
