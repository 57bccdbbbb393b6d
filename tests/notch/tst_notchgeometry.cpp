#include "fakes/FakeScreens.h"
#include "notch/DesktopCoordinates.h"
#include "notch/NotchGeometry.h"

#include <QTest>

using namespace talvo;

namespace {

const QRectF kMain(0, 0, 1920, 1080);

NotchGeometry geometryFor(const ScreenInfo &screen, bool floating, const QRectF &main = kMain)
{
    return NotchGeometry(DesktopCoordinates(main).toNotch(screen), floating);
}

ScreenInfo plainScreen()
{
    return FakeScreens::screen(1, kMain);
}

ScreenInfo housingScreen()
{
    return plainScreen().withCameraHousing({200, 32});
}

} // namespace

class TestNotchGeometry : public QObject
{
    Q_OBJECT
private slots:
    void outlineInQtCoordinates_data()
    {
        QTest::addColumn<bool>("housing");
        QTest::addColumn<bool>("floating");
        QTest::addColumn<NotchShapeState>("state");
        QTest::addColumn<QRectF>("expected"); // Qt coordinates

        using S = NotchShapeState;
        const S idle;
        const S peek{.isHovering = true};
        const S peekMusic{.isHovering = true, .musicShowing = true};
        const S idleMusic{.musicShowing = true};
        const S expanded{.isHovering = true, .isFullyExpanded = true, .widgetCount = 3};
        const S fileDrag{.isHovering = true, .isFullyExpanded = true, .isFileDragActive = true, .widgetCount = 3};
        const S dropTarget{.isDragTargetActive = true};
        const auto shelf = [](int items) {
            return S{.isHovering = true, .isShelfItemDragActive = true, .itemCount = items};
        };

        // Attached, no housing: W0 185, H0 24.
        QTest::newRow("idle") << false << false << idle << QRectF(867.5, 0, 185, 24);
        QTest::newRow("peek") << false << false << peek << QRectF(842.5, 0, 235, 32);
        QTest::newRow("peek with music") << false << false << peekMusic << QRectF(782.5, 0, 355, 34);
        QTest::newRow("idle with music") << false << false << idleMusic << QRectF(797.5, 0, 325, 30);
        QTest::newRow("expanded") << false << false << expanded << QRectF(530, 0, 860, 166);
        QTest::newRow("file drag beats expanded") << false << false << fileDrag << QRectF(800, 0, 320, 101);
        QTest::newRow("shelf strip, one item") << false << false << shelf(1) << QRectF(880, 0, 160, 146);
        QTest::newRow("shelf strip, capped at eight") << false << false << shelf(12) << QRectF(590, 0, 740, 146);
        QTest::newRow("shelf drag, empty shelf: no peek") << false << false << shelf(0) << QRectF(867.5, 0, 185, 24);
        // Housing 200 x 32: W0 204, H0 32.
        QTest::newRow("housing idle") << true << false << idle << QRectF(858, 0, 204, 32);
        QTest::newRow("housing peek") << true << false << peek << QRectF(833, 0, 254, 40);
        QTest::newRow("housing expanded") << true << false << expanded << QRectF(530, 0, 860, 174);
        // Floating: 12 below the top, H0 32, fixed widths, the housing ignored.
        QTest::newRow("floating idle") << false << true << idle << QRectF(895, 12, 130, 32);
        QTest::newRow("floating peek") << false << true << peek << QRectF(880, 12, 160, 40);
        QTest::newRow("floating peek with music") << true << true << peekMusic << QRectF(835, 12, 250, 42);
        QTest::newRow("floating file drag") << true << true << dropTarget << QRectF(800, 12, 320, 109);
    }
    void outlineInQtCoordinates()
    {
        QFETCH(bool, housing);
        QFETCH(bool, floating);
        QFETCH(NotchShapeState, state);
        const NotchGeometry geometry = geometryFor(housing ? housingScreen() : plainScreen(), floating);
        QTEST(DesktopCoordinates(kMain).toQt(geometry.shapeRect(state)), "expected");
    }

    void expandedWidth_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<bool>("homeTab");
        QTest::addColumn<qreal>("width");
        QTest::newRow("home, none") << QString() << true << 320.0;
        QTest::newRow("home, two") << QStringLiteral("music,weather") << true << 590.0;
        QTest::newRow("home, three") << QStringLiteral("music,weather,calendar") << true << 860.0;
        QTest::newRow("home, empty pieces dropped") << QStringLiteral(",music,,weather,") << true << 590.0;
        QTest::newRow("home, unknown names count") << QStringLiteral("a,b,c,d") << true << 860.0;
        QTest::newRow("tray, one") << QStringLiteral("music") << false << 590.0;
        QTest::newRow("tray, three") << QStringLiteral("music,weather,calendar") << false << 860.0;
    }
    void expandedWidth()
    {
        QFETCH(QString, order);
        QFETCH(bool, homeTab);
        QTEST(NotchGeometry::expandedWidth(homeTab, NotchGeometry::widgetCount(order)), "width");
    }

    void hotZone_data()
    {
        QTest::addColumn<bool>("housing");
        QTest::addColumn<bool>("floating");
        QTest::addColumn<QPointF>("point"); // Qt coordinates
        QTest::addColumn<bool>("inside");
        // Plain: x in [850, 1070], rows 0..26 (y >= 1080 - 24 - 2).
        QTest::newRow("left edge") << false << false << QPointF(850, 26) << true;
        QTest::newRow("left of edge") << false << false << QPointF(849.5, 0) << false;
        QTest::newRow("right edge") << false << false << QPointF(1070, 0) << true;
        QTest::newRow("right of edge") << false << false << QPointF(1070.5, 0) << false;
        QTest::newRow("below") << false << false << QPointF(960, 27) << false;
        QTest::newRow("above the screen") << false << false << QPointF(960, -300) << true;
        // Housing 200: x in [840, 1080], rows 0..34.
        QTest::newRow("housing wider") << true << false << QPointF(840, 34) << true;
        QTest::newRow("housing below") << true << false << QPointF(960, 35) << false;
        // Floating: 200 wide whatever the housing; rows 0..46.
        QTest::newRow("floating lower") << true << true << QPointF(850, 46) << true;
        QTest::newRow("floating below") << true << true << QPointF(850, 47) << false;
        QTest::newRow("floating ignores housing") << true << true << QPointF(845, 0) << false;
    }
    void hotZone()
    {
        QFETCH(bool, housing);
        QFETCH(bool, floating);
        QFETCH(QPointF, point);
        const NotchGeometry geometry = geometryFor(housing ? housingScreen() : plainScreen(), floating);
        QTEST(geometry.isInCollapsedHotZone(DesktopCoordinates(kMain).toNotch(point)), "inside");
    }

    void windowFrameOnEachScreen_data()
    {
        QTest::addColumn<QRectF>("screen");
        QTest::addColumn<bool>("floating");
        QTest::addColumn<QRectF>("expected");
        QTest::newRow("main") << kMain << false << QRectF(530, 0, 860, 250);
        QTest::newRow("main, floating") << kMain << true << QRectF(530, 12, 860, 250);
        QTest::newRow("right, shorter") << QRectF(1920, 0, 1280, 800) << false << QRectF(2130, 0, 860, 250);
        QTest::newRow("right, lower") << QRectF(1920, 400, 1280, 800) << true << QRectF(2130, 412, 860, 250);
        QTest::newRow("left of main") << QRectF(-1600, 100, 1600, 900) << false << QRectF(-1230, 100, 860, 250);
    }
    void windowFrameOnEachScreen()
    {
        QFETCH(QRectF, screen);
        QFETCH(bool, floating);
        const NotchGeometry geometry = geometryFor(FakeScreens::screen(2, screen), floating);
        QTEST(DesktopCoordinates(kMain).toQt(geometry.windowFrame()), "expected");
    }

    void mouseInRectOwnsTopAndLeftEdges_data()
    {
        QTest::addColumn<QPointF>("point"); // Qt coordinates
        QTest::addColumn<bool>("inside");
        QTest::newRow("top left pixel") << QPointF(0, 0) << true;
        QTest::newRow("bottom row") << QPointF(10, 1079) << true;
        QTest::newRow("below") << QPointF(10, 1080) << false;
        QTest::newRow("right column") << QPointF(1919, 10) << true;
        QTest::newRow("right of it") << QPointF(1920, 10) << false;
        QTest::newRow("above") << QPointF(10, -1) << false;
    }
    void mouseInRectOwnsTopAndLeftEdges()
    {
        QFETCH(QPointF, point);
        const DesktopCoordinates coordinates(kMain);
        QTEST(NotchGeometry::mouseInRect(coordinates.toNotch(point), coordinates.toNotch(kMain)), "inside");
    }

    void declaredHousingGivesBothAreasAndInset()
    {
        const ScreenInfo screen = FakeScreens::screen(1, QRectF(100, 50, 1512, 982)).withCameraHousing({184, 38});
        QCOMPARE(screen.topSafeAreaInset, 38.0);
        QCOMPARE(*screen.auxiliaryTopLeftArea, QRectF(100, 50, 664, 38));
        QCOMPARE(*screen.auxiliaryTopRightArea, QRectF(948, 50, 664, 38));
        const ScreenInfo none = FakeScreens::screen(1, kMain).withCameraHousing({0, 30});
        QVERIFY(!none.auxiliaryTopLeftArea);
        QCOMPARE(none.topSafeAreaInset, 0.0);
    }
};

QTEST_GUILESS_MAIN(TestNotchGeometry)
#include "tst_notchgeometry.moc"
