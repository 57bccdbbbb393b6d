#include "fakes/FakeNotchServices.h"
#include "notch/NotchShelfLayout.h"

#include <QSignalSpy>
#include <QTest>

using namespace talvo;
using Layout = NotchShelfLayout::ContentLayout;

namespace {

const QRectF kScreen(0, 0, 1512, 982);
// A notched laptop: a 200 × 38 camera housing, so the body is 204 wide.
const ScreenInfo kHousing = FakeScreens::screen(1, kScreen).withCameraHousing({200, 38});
const ScreenInfo kPlain = FakeScreens::screen(1, kScreen);

// The view model's flags and the other inputs, as one row of a table.
struct State
{
    bool hovering = false;
    bool expanded = false;
    bool fileDrag = false;
    bool dragTarget = false;
    bool shelfDrag = false;
    bool greeting = false;
    int items = 0;
    NotchPanelTab tab = NotchPanelTab::Home;
    bool playing = false;
    bool closedForTrack = false;
    QString order = QStringLiteral("music,weather,calendar");
    QString style = QStringLiteral("attached");

    void applyTo(NotchShelfLayout &layout) const
    {
        layout.setIsHovering(hovering);
        layout.setIsFullyExpanded(expanded);
        layout.setIsFileDragActive(fileDrag);
        layout.setIsDragTargetActive(dragTarget);
        layout.setIsShelfItemDragActive(shelfDrag);
        layout.setIsOnboardingGreetingActive(greeting);
        layout.setItemCount(items);
        layout.setActiveTab(tab);
        layout.setIsPlaying(playing);
        layout.setIsClosedForCurrentTrack(closedForTrack);
        layout.setActiveWidgetsOrder(order);
        layout.setShelfStyle(style);
    }
};

State panel(NotchPanelTab tab, const QString &order)
{
    State s;
    s.hovering = true;
    s.expanded = true;
    s.tab = tab;
    s.order = order;
    return s;
}
State shelfStrip(int items)
{
    State s;
    s.hovering = true;
    s.shelfDrag = true;
    s.items = items;
    return s;
}
} // namespace

Q_DECLARE_METATYPE(State)

class TestNotchShelfLayout : public QObject
{
    Q_OBJECT
private slots:
    // Body size on a notched screen (base 204 × 38) for every state the body
    // can take, and the layout that comes with it.
    void sizeFollowsTheState_data()
    {
        QTest::addColumn<State>("state");
        QTest::addColumn<qreal>("width");
        QTest::addColumn<qreal>("height");
        QTest::addColumn<Layout>("layout");

        const auto home = NotchPanelTab::Home;
        const auto tray = NotchPanelTab::Tray;
        const QString three = QStringLiteral("music,weather,calendar");
        const QString two = QStringLiteral("music,weather");

        QTest::newRow("bare") << State{} << 204.0 << 38.0 << Layout::Bare;
        QTest::newRow("greeting") << State{.hovering = true, .expanded = true, .greeting = true} << 320.0 << 103.0
                                  << Layout::Greeting;
        QTest::newRow("greeting while a file drag runs") << State{.fileDrag = true, .greeting = true} << 320.0 << 103.0
            << Layout::Greeting;

        QTest::newRow("home, three widgets") << panel(home, three) << 860.0 << 180.0 << Layout::Panel;
        QTest::newRow("home, two widgets") << panel(home, two) << 590.0 << 180.0 << Layout::Panel;
        QTest::newRow("home, one widget") << panel(home, QStringLiteral("music")) << 320.0 << 180.0 << Layout::Panel;
        QTest::newRow("tray, one widget") << panel(tray, QStringLiteral("music")) << 590.0 << 180.0 << Layout::Panel;
        QTest::newRow("tray, four widgets") << panel(tray, QStringLiteral("music,weather,calendar,scratchpad"))
                                            << 860.0 << 180.0 << Layout::Panel;
        QTest::newRow("unknown identifier does not widen")
            << panel(home, QStringLiteral("music,weather,stocks")) << 590.0 << 180.0 << Layout::Panel;
        QTest::newRow("empty piece between two known still counts two")
            << panel(home, QStringLiteral("music,,weather")) << 590.0 << 180.0 << Layout::Panel;
        QTest::newRow("duplicate counts once") << panel(home, QStringLiteral("music,music,music")) << 320.0 << 180.0
                                               << Layout::Panel;
        QTest::newRow("identifiers are case-sensitive") << panel(home, QStringLiteral("Music,Weather")) << 320.0
                                                        << 180.0 << Layout::Panel;

        QTest::newRow("shelf strip, 1 item") << shelfStrip(1) << 160.0 << 160.0 << Layout::ShelfStrip;
        QTest::newRow("shelf strip, 3 items") << shelfStrip(3) << 315.0 << 160.0 << Layout::ShelfStrip;
        QTest::newRow("shelf strip, 12 items (capped at 8)") << shelfStrip(12) << 740.0 << 160.0 << Layout::ShelfStrip;
        QTest::newRow("shelf drag of an empty shelf") << shelfStrip(0) << 204.0 << 38.0 << Layout::Bare;
        QTest::newRow("expanded panel wins over the shelf strip")
            << State{.hovering = true, .expanded = true, .shelfDrag = true, .items = 3}
            << 860.0 << 180.0 << Layout::Panel;

        QTest::newRow("file drag") << State{.fileDrag = true} << 320.0 << 115.0 << Layout::FileDragHint;
        QTest::newRow("drop target") << State{.dragTarget = true} << 320.0 << 115.0 << Layout::DropTarget;
        QTest::newRow("drop target over the file-drag hint")
            << State{.fileDrag = true, .dragTarget = true} << 320.0 << 115.0 << Layout::DropTarget;
        QTest::newRow("file drag over the open panel")
            << State{.hovering = true, .expanded = true, .fileDrag = true} << 320.0 << 115.0 << Layout::FileDragHint;
        QTest::newRow("file drag over the shelf strip")
            << State{.hovering = true, .fileDrag = true, .shelfDrag = true, .items = 3}
            << 320.0 << 115.0 << Layout::FileDragHint;

        QTest::newRow("hover peek") << State{.hovering = true} << 254.0 << 46.0 << Layout::Bare;
        QTest::newRow("music peek") << State{.playing = true} << 344.0 << 44.0 << Layout::NowPlayingPeek;
        QTest::newRow("hover and music peek") << State{.hovering = true, .playing = true} << 374.0
                                              << 48.0 << Layout::NowPlayingPeek;
        QTest::newRow("dismissed track gives the bare size")
            << State{.playing = true, .closedForTrack = true} << 204.0 << 38.0 << Layout::Bare;
        QTest::newRow("shelf strip hides the music peek")
            << State{.hovering = true, .shelfDrag = true, .items = 2, .playing = true}
            << 230.0 << 160.0 << Layout::ShelfStrip;
        QTest::newRow("music hides behind the open panel")
            << State{.hovering = true, .expanded = true, .playing = true} << 860.0 << 180.0 << Layout::Panel;
        QTest::newRow("expanded without hover") << State{.expanded = true} << 204.0 << 38.0 << Layout::Bare;
    }
    void sizeFollowsTheState()
    {
        QFETCH(State, state);

        NotchShelfLayout shelf;
        shelf.setScreen(kHousing);
        state.applyTo(shelf);
        QTEST(shelf.notchWidth(), "width");
        QTEST(shelf.notchHeight(), "height");
        QTEST(shelf.contentLayout(), "layout");
    }

    void baseSizeComesFromTheScreenAndStyle_data()
    {
        QTest::addColumn<std::optional<ScreenInfo>>("screen");
        QTest::addColumn<QString>("style");
        QTest::addColumn<qreal>("width");
        QTest::addColumn<qreal>("height");

        const std::optional<ScreenInfo> none;
        const QString attached = QStringLiteral("attached");
        const QString floating = QStringLiteral("floating");
        ScreenInfo oneSided = kPlain;
        oneSided.auxiliaryTopLeftArea = QRectF(0, 0, 600, 38);
        oneSided.topSafeAreaInset = 38;

        QTest::newRow("housing") << std::optional(kHousing) << attached << 204.0 << 38.0;
        QTest::newRow("no housing") << std::optional(kPlain) << attached << 185.0 << 24.0;
        QTest::newRow("no screen") << none << attached << 185.0 << 32.0;
        QTest::newRow("only one side area is no housing, inset still counts")
            << std::optional(oneSided) << attached << 185.0 << 38.0;
        QTest::newRow("floating, housing") << std::optional(kHousing) << floating << 204.0 << 32.0;
        QTest::newRow("floating, no housing") << std::optional(kPlain) << floating << 185.0 << 32.0;
        QTest::newRow("unknown style is attached") << std::optional(kHousing) << QStringLiteral("Floating") << 204.0
                                                   << 38.0;
    }
    void baseSizeComesFromTheScreenAndStyle()
    {
        QFETCH(std::optional<ScreenInfo>, screen);
        QFETCH(QString, style);
        QFETCH(qreal, width);
        QFETCH(qreal, height);

        NotchShelfLayout shelf;
        shelf.setScreen(screen);
        shelf.setShelfStyle(style);
        QCOMPARE(shelf.baseNotchWidth(), width);
        QCOMPARE(shelf.baseNotchHeight(), height);
        // Collapsed and idle, the body is the base size.
        QCOMPARE(shelf.notchWidth(), width);
        QCOMPARE(shelf.notchHeight(), height);
    }

    void outlineRadiiFollowTheState_data()
    {
        QTest::addColumn<State>("state");
        QTest::addColumn<qreal>("bottomRadius"); // attached
        QTest::addColumn<qreal>("cornerRadius"); // floating

        QTest::newRow("idle") << State{} << 12.0 << 16.0;
        QTest::newRow("hover peek") << State{.hovering = true} << 18.0 << 18.0;
        QTest::newRow("music peek") << State{.playing = true} << 16.0 << 16.0;
        QTest::newRow("panel") << panel(NotchPanelTab::Home, QStringLiteral("music")) << 32.0 << 32.0;
        QTest::newRow("shelf strip") << shelfStrip(2) << 32.0 << 32.0;
        QTest::newRow("greeting") << State{.greeting = true} << 32.0 << 32.0;
    }
    void outlineRadiiFollowTheState()
    {
        QFETCH(State, state);
        QFETCH(qreal, bottomRadius);
        QFETCH(qreal, cornerRadius);

        for (const QString &style : {QStringLiteral("attached"), QStringLiteral("floating")}) {
            NotchShelfLayout shelf;
            shelf.setScreen(kPlain);
            state.style = style;
            state.applyTo(shelf);
            QCOMPARE(shelf.bottomRadius(), bottomRadius);
            QCOMPARE(shelf.cornerRadius(), cornerRadius);
        }
    }

    // Over every combination of the flags that decide it, an open layout is
    // shown exactly when the body has its open look (radius 32, no shadow),
    // and the peek layout only on a collapsed body.
    void openLookAndOpenLayoutAlwaysAgree()
    {
        const QList<Layout> open{Layout::Greeting, Layout::Panel, Layout::DropTarget, Layout::FileDragHint,
                                 Layout::ShelfStrip};
        for (int bits = 0; bits < (1 << 10); ++bits) {
            State s;
            s.hovering = bits & 1;
            s.expanded = bits & 2;
            s.fileDrag = bits & 4;
            s.dragTarget = bits & 8;
            s.shelfDrag = bits & 16;
            s.greeting = bits & 32;
            s.items = (bits & 64) ? 2 : 0;
            s.playing = bits & 128;
            s.closedForTrack = bits & 256;
            s.tab = (bits & 512) ? NotchPanelTab::Tray : NotchPanelTab::Home;
            NotchShelfLayout shelf;
            s.applyTo(shelf);
            const QByteArray row = QByteArray::number(bits, 2);
            QVERIFY2(shelf.isOpenState() == open.contains(shelf.contentLayout()), row);
            QVERIFY2(shelf.isOpenState() == (shelf.bottomRadius() == 32), row);
            QVERIFY2(shelf.isOpenState() == (shelf.shadowOpacity() == 0), row);
            if (shelf.contentLayout() == Layout::NowPlayingPeek)
                QVERIFY2(s.playing && !s.closedForTrack, row);
        }
    }

    void backgroundAndShadow_data()
    {
        QTest::addColumn<State>("state");
        QTest::addColumn<bool>("glass");
        QTest::addColumn<qreal>("black");
        QTest::addColumn<qreal>("gradient");
        QTest::addColumn<qreal>("shadowOpacity");
        QTest::addColumn<qreal>("shadowRadius");
        QTest::addColumn<qreal>("shadowOffsetY");

        const State open = panel(NotchPanelTab::Home, QStringLiteral("music"));
        QTest::newRow("peeking, glass") << State{.hovering = true} << true << 1.0 << 0.0 << 0.22 << 8.0 << 3.0;
        QTest::newRow("open") << open << false << 1.0 << 0.0 << 0.0 << 0.0 << 0.0;
        QTest::newRow("open, glass") << open << true << 0.0 << 1.0 << 0.0 << 0.0 << 0.0;
    }
    void backgroundAndShadow()
    {
        QFETCH(State, state);
        QFETCH(bool, glass);
        QFETCH(qreal, shadowOpacity);
        QFETCH(qreal, shadowRadius);
        QFETCH(qreal, shadowOffsetY);

        NotchShelfLayout shelf;
        state.applyTo(shelf);
        shelf.setEnableGlassUI(glass);
        QTEST(shelf.blackOpacity(), "black");
        QTEST(shelf.glassOpacity(), "gradient");
        QCOMPARE(shelf.shadowOpacity(), shadowOpacity);
        QCOMPARE(shelf.shadowRadius(), shadowRadius);
        QCOMPARE(shelf.shadowOffsetY(), shadowOffsetY);
    }

    void shelfStripHeader_data()
    {
        QTest::addColumn<int>("items");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("clear");

        QTest::newRow("one") << 1 << QStringLiteral("1 item") << false;
        QTest::newRow("two") << 2 << QStringLiteral("2 items") << true;
    }
    void shelfStripHeader()
    {
        QFETCH(int, items);

        NotchShelfLayout shelf;
        shelfStrip(items).applyTo(shelf);
        QTEST(shelf.itemCountText(), "text");
        QTEST(shelf.showsClearButton(), "clear");
    }

    void peekRowAndToastSitInTheHousingBand_data()
    {
        QTest::addColumn<std::optional<ScreenInfo>>("screen");
        QTest::addColumn<qreal>("rowHeight");
        QTest::addColumn<qreal>("rowInset");
        QTest::addColumn<qreal>("toastPadding");

        QTest::newRow("housing 38") << std::optional(kHousing) << 44.0 << 10.0 << 46.0;
        QTest::newRow("plain 24") << std::optional(kPlain) << 30.0 << 3.0 << 32.0;
    }
    void peekRowAndToastSitInTheHousingBand()
    {
        QFETCH(std::optional<ScreenInfo>, screen);
        QFETCH(qreal, toastPadding);

        NotchShelfLayout shelf;
        shelf.setScreen(screen);
        QTEST(shelf.peekRowHeight(), "rowHeight");
        QTEST(shelf.peekRowTopInset(), "rowInset");
        QCOMPARE(shelf.toastTopPadding(), toastPadding);
        // The toast hangs below the collapsed band whatever the body does.
        panel(NotchPanelTab::Home, QStringLiteral("music")).applyTo(shelf);
        QCOMPARE(shelf.toastTopPadding(), toastPadding);
    }

    void changesAreAnnouncedOncePerRealChange()
    {
        NotchShelfLayout shelf;
        shelf.setScreen(kHousing);
        QSignalSpy width(&shelf, &NotchShelfLayout::notchWidthChanged);
        QSignalSpy height(&shelf, &NotchShelfLayout::notchHeightChanged);
        QSignalSpy layout(&shelf, &NotchShelfLayout::contentLayoutChanged);
        QSignalSpy hovering(&shelf, &NotchShelfLayout::isHoveringChanged);

        shelf.setIsHovering(false);
        shelf.setItemCount(5); // no drag: nothing visible changes
        shelf.setActiveWidgetsOrder(QStringLiteral("music,weather,calendar"));
        QCOMPARE(width.count(), 0);
        QCOMPARE(height.count(), 0);
        QCOMPARE(hovering.count(), 0);

        shelf.setIsHovering(true);
        QCOMPARE(hovering.count(), 1);
        QCOMPARE(width.count(), 1);
        QCOMPARE(height.count(), 1);
        QCOMPARE(layout.count(), 0); // the hover peek is still the bare layout

        // Same screen again, and a different order with the same known count.
        shelf.setScreen(kHousing);
        shelf.setActiveWidgetsOrder(QStringLiteral("calendar,music,weather"));
        QCOMPARE(width.count(), 1);
    }

    void tapExpandsOnlyThePeekingNotch()
    {
        FakeShelfServices model;
        NotchShelfLayout shelf;

        QVERIFY(!shelf.tapBody(&model.vm)); // pointer not over the notch
        QVERIFY(!model.vm.isFullyExpanded());

        model.vm.setIsHovering(true);
        shelf.setIsHovering(true);
        QVERIFY(shelf.tapBody(&model.vm));
        QVERIFY(model.vm.isFullyExpanded());

        // During a file drag the hover does not peek, so a tap does nothing.
        model.vm.setIsFullyExpanded(false);
        shelf.setIsFileDragActive(true);
        QVERIFY(!shelf.tapBody(&model.vm));
        QVERIFY(!model.vm.isFullyExpanded());
        QVERIFY(!shelf.tapBody(nullptr));
    }

    void clearEmptiesTheShelf()
    {
        FakeShelfServices model;
        for (int i = 0; i < 3; ++i)
            model.vm.addItem(ShelfItem::makeText(QStringLiteral("note %1").arg(i)));
        model.scheduler.runPending();
        QCOMPARE(model.vm.itemList().size(), 3);
        NotchShelfLayout().clearShelf(&model.vm);
        QVERIFY(model.vm.itemList().isEmpty());
        NotchShelfLayout().clearShelf(nullptr);
    }
};

QTEST_GUILESS_MAIN(TestNotchShelfLayout)
#include "tst_notchshelflayout.moc"
