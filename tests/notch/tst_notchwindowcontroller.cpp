#include "fakes/FakeNotchServices.h"

#include <QSignalSpy>
#include <QTest>

using namespace talvo;
using namespace std::chrono_literals;

namespace {

const QRectF kMain(0, 0, 1920, 1080);
const QRectF kRight(1920, 0, 1280, 800);
const QPointF kInHotZone(960, 5);
const QPointF kFarAway(960, 700);
const QStringList kFileTypes{QStringLiteral("text/uri-list"), QStringLiteral("text/plain")};

// A controller with every service faked; time moves only when the test says.
struct Rig : FakeNotchServices
{
    using FakeNotchServices::FakeNotchServices;

    // Moves the pointer and lets one poll tick see it.
    void moveTo(QPointF qtPoint)
    {
        pointer.pos = qtPoint;
        scheduler.advance(50);
    }
    void clickAt(QPointF qtPoint)
    {
        scheduler.advance(20);
        pointer.pos = qtPoint;
        monitors.sendGlobal(PointerEvent::of(PointerEventType::LeftMouseDown));
        monitors.sendGlobal(PointerEvent::of(PointerEventType::LeftMouseUp));
    }
    void openPanel()
    {
        clickAt(kInHotZone);
        QVERIFY(vm.isFullyExpanded());
    }
    QRectF outlineInQt() const { return controller->coordinates().toQt(controller->currentShapeRect()); }
};

QJsonObject prefs(const char *key, const char *value)
{
    return QJsonObject{{QLatin1String(key), QLatin1String(value)}};
}

} // namespace

class TestNotchWindowController : public QObject
{
    Q_OBJECT
private slots:
    void startsOnTheFirstScreenAndLetsThePointerThrough()
    {
        Rig rig;
        QCOMPARE(rig.window.frame(), QRect(530, 0, 860, 250));
        QCOMPARE(rig.controller->notchRect(), QRectF(337.5, 0, 185, 24));
        QCOMPARE(rig.monitors.count(true), 1);
        QCOMPARE(rig.monitors.count(false), 1);
        QCOMPARE(rig.monitors.mask(false),
                 NotchWindowController::kGlobalEvents | PointerEventType::MouseEntered | PointerEventType::MouseExited);
        QVERIFY(!rig.controller->ignoresMouseEvents());
        rig.scheduler.advance(8);
        QVERIFY(rig.controller->ignoresMouseEvents());
        QVERIFY(rig.window.inputRegion.isEmpty());
    }

    void pointerInTheHotZonePeeksWithoutOpening()
    {
        Rig rig;
        rig.moveTo(kInHotZone);
        QVERIFY(rig.vm.isHovering());
        QVERIFY(!rig.vm.isFullyExpanded());
        QCOMPARE(rig.outlineInQt(), QRectF(842.5, 0, 235, 32));
        QVERIFY(!rig.controller->ignoresMouseEvents());
        QCOMPARE(rig.window.inputRegion, QRegion(QRect(312, 0, 236, 32)));
    }

    void openPanelStaysOpenWithinTheGrownOutline_data()
    {
        QTest::addColumn<bool>("startOpen");
        QTest::addColumn<QPointF>("pointer");
        QTest::addColumn<bool>("open");
        // Expanded with three widgets: x 530..1390, rows 0..166 (Qt); grown by 20.
        QTest::newRow("inside the panel") << true << QPointF(600, 150) << true;
        QTest::newRow("in the bottom margin") << true << QPointF(600, 185) << true;
        QTest::newRow("beyond the bottom margin") << true << QPointF(600, 187) << false;
        QTest::newRow("in the left margin") << true << QPointF(511, 40) << true;
        QTest::newRow("beyond the left margin") << true << QPointF(509, 40) << false;
        // Below the hot zone, within 20 of the idle outline.
        QTest::newRow("margin of the collapsed notch") << false << QPointF(960, 40) << false;
    }
    void openPanelStaysOpenWithinTheGrownOutline()
    {
        QFETCH(bool, startOpen);
        QFETCH(QPointF, pointer);
        QFETCH(bool, open);
        Rig rig;
        if (startOpen) {
            rig.openPanel();
            QCOMPARE(rig.outlineInQt(), QRectF(530, 0, 860, 166));
        }
        rig.moveTo(pointer);
        QCOMPARE(rig.vm.isHovering(), open);
        QCOMPARE(rig.vm.isFullyExpanded(), open);
    }

    void clickOpens_data()
    {
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<bool>("fileDrag");
        QTest::addColumn<bool>("opens");
        QTest::newRow("hot zone") << kInHotZone << false << true;
        QTest::newRow("elsewhere") << kFarAway << false << false;
        QTest::newRow("hot zone during a file drag") << kInHotZone << true << false;
    }
    void clickOpens()
    {
        QFETCH(QPointF, point);
        QFETCH(bool, fileDrag);
        QFETCH(bool, opens);
        Rig rig;
        rig.vm.setIsFileDragActive(fileDrag);
        rig.pointer.buttons = Qt::LeftButton; // keeps a file drag alive through the poll
        rig.scheduler.advance(20);
        rig.pointer.pos = point;
        rig.monitors.sendGlobal(PointerEvent::of(PointerEventType::LeftMouseDown));
        QCOMPARE(rig.vm.isFullyExpanded(), opens);
        if (opens)
            QVERIFY(!rig.controller->ignoresMouseEvents());
    }

    void scrollOverTheNotchOpensOnTheHomeTab()
    {
        Rig rig;
        rig.vm.setActiveTab(NotchPanelTab::Tray);
        rig.pointer.pos = kInHotZone;
        rig.monitors.sendGlobal(PointerEvent::preciseScroll(0.5, 0.05)); // too small
        QVERIFY(!rig.vm.isFullyExpanded());
        rig.monitors.sendGlobal(PointerEvent::wheel(-1));
        QVERIFY(rig.vm.isFullyExpanded());
        QCOMPARE(rig.vm.activeTab(), NotchPanelTab::Home);
        QCOMPARE(rig.haptics.performed, 1);
        QVERIFY(!rig.controller->ignoresMouseEvents());
    }

    // Two wheel notches in a row switch; another event between them starts
    // the sum afresh, and scrolls over a scrolling widget do not count.
    void scrollOverTheOpenPanelSwitchesTabs_data()
    {
        QTest::addColumn<bool>("overScrollingWidget");
        QTest::addColumn<bool>("moveBetween");
        QTest::newRow("another event between") << false << true;
        QTest::newRow("over a scrolling widget") << true << false;
    }
    void scrollOverTheOpenPanelSwitchesTabs()
    {
        QFETCH(bool, overScrollingWidget);
        QFETCH(bool, moveBetween);
        Rig rig;
        rig.openPanel();
        rig.pointer.pos = QPointF(960, 100);
        rig.haptics.performed = 0;
        rig.vm.setIsHoveringScrollableWidget(overScrollingWidget);
        rig.monitors.sendLocal(PointerEvent::wheel(-1));
        rig.vm.setIsHoveringScrollableWidget(false);
        if (moveBetween)
            rig.monitors.sendLocal(PointerEvent::of(PointerEventType::MouseMoved));
        rig.monitors.sendLocal(PointerEvent::wheel(-1));
        QCOMPARE(rig.vm.activeTab(), NotchPanelTab::Home);
        rig.monitors.sendLocal(PointerEvent::wheel(-1));
        QCOMPARE(rig.vm.activeTab(), NotchPanelTab::Tray);
        QCOMPARE(rig.haptics.performed, 1);
    }

    void dragsOpenTheDropZone_data()
    {
        QTest::addColumn<bool>("silent"); // the source keeps its types to itself
        QTest::addColumn<QRectF>("outline");
        QTest::addColumn<QRect>("input");
        // A file drag stretches the notch; one of unknown kind leaves it as it
        // is. Either way the pointer is taken 20 around the outline.
        QTest::newRow("file drag") << false << QRectF(800, 0, 320, 101) << QRect(250, 0, 360, 121);
        QTest::newRow("drag of unknown kind") << true << QRectF(867.5, 0, 185, 24) << QRect(317, 0, 226, 44);
    }
    void dragsOpenTheDropZone()
    {
        QFETCH(bool, silent);
        QFETCH(QRect, input);
        Rig rig;
        rig.scheduler.advance(8);
        rig.pointer.buttons = Qt::LeftButton;
        rig.drag.startDrag(kFileTypes, silent);
        if (silent)
            rig.drag.answer(std::nullopt);
        rig.monitors.sendGlobal(PointerEvent::of(PointerEventType::LeftMouseDragged));
        QCOMPARE(rig.vm.isFileDragActive(), !silent);
        QTEST(rig.outlineInQt(), "outline");
        rig.scheduler.advance(8);
        QVERIFY(!rig.controller->ignoresMouseEvents());
        QCOMPARE(rig.window.inputRegion, QRegion(input));
        rig.monitors.sendGlobal(PointerEvent::of(PointerEventType::LeftMouseUp));
        QVERIFY(!rig.vm.isFileDragActive());
        rig.scheduler.advance(8);
        QVERIFY(rig.controller->ignoresMouseEvents());
        QVERIFY(rig.window.inputRegion.isEmpty());
    }

    void shelfItemDragTakesThePointer()
    {
        Rig rig;
        rig.scheduler.advance(8);
        rig.controller->setShelfItemDragActive(true);
        QVERIFY(!rig.controller->ignoresMouseEvents());
    }

    // A drag whose release nobody reported (dropped into a program that
    // swallowed it, or its source quit mid-drag) ends at the next look at the
    // buttons, also when the release came before the drag's arrival was acted
    // on and the pointer rests (the outline changing is looked at); a held
    // drag goes on.
    void dragEndsWithTheButtons_data()
    {
        QTest::addColumn<bool>("files");
        QTest::addColumn<Qt::MouseButtons>("buttons");
        QTest::addColumn<bool>("goesOn");
        QTest::newRow("file drag, released") << true << Qt::MouseButtons(Qt::NoButton) << false;
        QTest::newRow("drop target, held") << false << Qt::MouseButtons(Qt::LeftButton) << true;
        QTest::newRow("drop target, released") << false << Qt::MouseButtons(Qt::NoButton) << false;
    }
    void dragEndsWithTheButtons()
    {
        QFETCH(bool, files);
        QFETCH(Qt::MouseButtons, buttons);
        Rig rig;
        rig.pointer.buttons = Qt::LeftButton;
        if (files) {
            rig.drag.startDrag(kFileTypes);
            rig.monitors.sendGlobal(PointerEvent::of(PointerEventType::LeftMouseDragged));
        }
        rig.scheduler.advance(200);
        QVERIFY(files ? rig.vm.isFileDragActive() : !rig.vm.isFileDragActive());
        rig.pointer.buttons = buttons;
        if (!files) {
            rig.scheduler.advance(200); // the poll has seen the pointer and rests
            rig.vm.setIsDragTargetActive(true);
        }
        rig.scheduler.advance(50);
        QTEST(rig.vm.isFileDragActive() || rig.vm.isDragTargetActive(), "goesOn");
    }

    void passthroughIsWrittenOnlyOnChange()
    {
        Rig rig;
        rig.scheduler.advance(8);
        QSignalSpy spy(rig.controller.get(), &NotchWindowController::ignoresMouseEventsChanged);
        const int writes = rig.window.inputRegionWrites;
        rig.pointer.buttons = Qt::LeftButton; // a drag holds it
        rig.vm.setIsDragTargetActive(true);
        rig.vm.setIsDragTargetActive(false);
        rig.vm.setIsDragTargetActive(true);
        QCOMPARE(spy.count(), 0); // debounced
        rig.scheduler.advance(7);
        QCOMPARE(spy.count(), 0);
        rig.scheduler.advance(1);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(rig.window.inputRegionWrites, writes + 1);
        rig.controller->updateMouseEventPassthrough();
        rig.vm.addItem(ShelfItem::makeText(QStringLiteral("x")));
        rig.scheduler.advance(50);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(rig.window.inputRegionWrites, writes + 1);
    }

    void boundingShapeFollowsTheCompositor()
    {
        Rig rig;
        QVERIFY(!rig.window.boundingRegion);
        rig.window.setCompositing(false);
        QCOMPARE(rig.window.boundingRegion, std::optional<QRegion>(QRegion(QRect(337, 0, 186, 24))));
        rig.moveTo(kInHotZone);
        QCOMPARE(rig.window.boundingRegion, std::optional<QRegion>(QRegion(QRect(312, 0, 236, 32))));
        rig.controller->setToastRect(QRectF(380, 40, 100, 30));
        rig.vm.setShowLimitReachedToast(true);
        QCOMPARE(rig.window.boundingRegion,
                 std::optional<QRegion>(QRegion(QRect(312, 0, 236, 32)) + QRect(380, 40, 100, 30)));
        // Once the view reports its body, the drawing follows the body (here
        // wider than the outline), while the pointer is taken on the outline.
        const QRegion input = rig.window.inputRegion;
        rig.controller->setBodyRect(QRectF(287.5, 0, 285, 32));
        QCOMPARE(rig.window.boundingRegion,
                 std::optional<QRegion>(QRegion(QRect(287, 0, 286, 32)) + QRect(380, 40, 100, 30)));
        QCOMPARE(rig.window.inputRegion, input);
        rig.window.setCompositing(true);
        QVERIFY(!rig.window.boundingRegion);
    }

    void healthCheckRestartsLostOrStaleMonitoring()
    {
        Rig rig;
        rig.monitors.refuse = true; // the display would not take the monitors
        rig.controller->startMonitoring();
        rig.monitors.refuse = false;
        const int started = rig.queue.startedCount;
        rig.scheduler.advance(10000);
        QCOMPARE(rig.monitors.count(true), 1);
        QCOMPARE(rig.monitors.count(false), 1);
        QCOMPARE(rig.window.raiseCount, 1);
        const int afterLoss = rig.queue.startedCount;
        QCOMPARE(afterLoss, started + 1);

        rig.queue.stallInterval(NotchWindowController::kPollInterval);
        rig.scheduler.advance(10000); // 10 s since the last check: not yet stale
        QCOMPARE(rig.queue.startedCount, afterLoss);
        rig.scheduler.advance(10000);
        QCOMPARE(rig.queue.startedCount, afterLoss + 1);
    }

    void activeDisplayFollowsThePointer_data()
    {
        QTest::addColumn<QString>("targetDisplay");
        QTest::addColumn<QRect>("frame");
        QTest::newRow("active") << "active" << QRect(2130, 0, 860, 250);
        QTest::newRow("main") << "main" << QRect(530, 0, 860, 250);
    }
    void activeDisplayFollowsThePointer()
    {
        QFETCH(QString, targetDisplay);
        QFETCH(QRect, frame);
        Rig rig(QJsonObject{{QStringLiteral("targetDisplay"), targetDisplay}},
                {FakeScreens::screen(1, kMain), FakeScreens::screen(2, kRight)});
        rig.moveTo(QPointF(2560, 400));
        QCOMPARE(rig.window.frame(), frame);
        rig.moveTo(QPointF(2560, 5)); // the right screen's hot zone
        QCOMPARE(rig.vm.isHovering(), targetDisplay == QLatin1String("active"));
    }

    void unpluggedPinnedScreenIsReplaced()
    {
        const ScreenInfo main = FakeScreens::screen(1, kMain);
        const ScreenInfo right = FakeScreens::screen(2, kRight);
        Rig rig(prefs("targetDisplay", "active"), {main, right});
        rig.moveTo(QPointF(2560, 400));
        QCOMPARE(rig.controller->pinnedScreen()->number, 2u);
        rig.queue.stallInterval(NotchWindowController::kPollInterval); // only the reconfiguration acts
        rig.screens.setScreens({main});
        emit rig.system.screenParametersChanged();
        rig.scheduler.advance(299);
        QCOMPARE(rig.controller->pinnedScreen()->number, 2u);
        rig.scheduler.advance(1);
        QCOMPARE(rig.controller->pinnedScreen()->number, 1u);
        QCOMPARE(rig.window.frame(), QRect(530, 0, 860, 250));
    }

    void greetingHoldsThePanelOpen()
    {
        Rig rig;
        rig.controller->showOnboardingGreeting();
        QVERIFY(rig.vm.isOnboardingGreetingActive());
        QVERIFY(rig.vm.isForcedOpen());
        QVERIFY(rig.vm.isHovering());
        QVERIFY(rig.vm.isFullyExpanded());
        rig.scheduler.advance(4199); // the pointer is far away all along
        QVERIFY(rig.vm.isFullyExpanded());
        QVERIFY(!rig.controller->ignoresMouseEvents());
        rig.scheduler.advance(1);
        QVERIFY(!rig.vm.isOnboardingGreetingActive());
        QVERIFY(!rig.vm.isForcedOpen());
        QVERIFY(!rig.vm.isHovering());
        QVERIFY(!rig.vm.isFullyExpanded());
    }

    void preferencesReshapeAndMoveTheNotch()
    {
        Rig rig;
        rig.preferences.setObject(QStringLiteral("floating"), QStringLiteral("shelfStyle"));
        QCOMPARE(rig.window.frame(), QRect(530, 12, 860, 250));
        QCOMPARE(rig.outlineInQt(), QRectF(895, 12, 130, 32));
        rig.preferences.setObject(QStringLiteral("music"), QStringLiteral("activeWidgetsOrder"));
        rig.openPanel();
        QCOMPARE(rig.outlineInQt().width(), 320.0);
        rig.vm.setActiveTab(NotchPanelTab::Tray);
        QCOMPARE(rig.outlineInQt().width(), 590.0);
        QCOMPARE(rig.controller->notchRect(), QRectF(135, 0, 590, 174));
    }

    // The poll hands nothing to the main thread while the pointer stays still
    // over an idle notch, yet a still pointer is judged again when the
    // outline changes under it, and the idle poll is not taken for a stall.
    void stillPointerIsRecheckedWhenTheOutlineChanges()
    {
        Rig rig(prefs("activeWidgetsOrder", "music"));
        const int reads = rig.pointer.positionReads;
        const int started = rig.queue.startedCount;
        rig.scheduler.advance(30000);
        QCOMPARE(rig.pointer.positionReads, reads);
        QCOMPARE(rig.queue.startedCount, started);

        rig.openPanel();
        rig.vm.setActiveTab(NotchPanelTab::Tray);
        rig.moveTo(QPointF(960 + 250, 100)); // inside the 590-wide tray panel only
        QVERIFY(rig.vm.isHovering());
        rig.vm.setActiveTab(NotchPanelTab::Home);
        rig.scheduler.advance(50);
        QVERIFY(!rig.vm.isHovering());
    }

    void musicWidensTheIdleNotch()
    {
        Rig rig;
        QSignalSpy spy(rig.controller.get(), &NotchWindowController::notchRectChanged);
        rig.controller->setMusicShowing(true);
        QCOMPARE(rig.outlineInQt(), QRectF(797.5, 0, 325, 30));
        QCOMPARE(spy.count(), 1);
    }

    void hoverChecksAreThrottled()
    {
        Rig rig;
        rig.scheduler.advance(20);
        const int reads = rig.pointer.positionReads;
        for (int i = 0; i < 10; ++i)
            rig.monitors.sendGlobal(PointerEvent::of(PointerEventType::MouseMoved));
        QCOMPARE(rig.pointer.positionReads, reads + 1);
    }

    void wallClockJumpsDoNotStallHover()
    {
        Rig rig;
        rig.scheduler.advance(100);
        rig.scheduler.setNow(rig.scheduler.now().addSecs(-3600)); // the clock is set back an hour
        rig.moveTo(kInHotZone);
        QVERIFY(rig.vm.isHovering());
        rig.moveTo(kFarAway);
        QVERIFY(!rig.vm.isHovering());
    }

    void pollStopsWithTheController()
    {
        auto rig = std::make_unique<Rig>();
        rig->controller.reset();
        QCOMPARE(rig->monitors.monitors.size(), 0);
        rig->scheduler.advance(20000);
        QCOMPARE(rig->scheduler.pendingCount(), 1); // the view model's clock only
    }
};

QTEST_GUILESS_MAIN(TestNotchWindowController)
#include "tst_notchwindowcontroller.moc"
