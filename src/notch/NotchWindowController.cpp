#include "NotchWindowController.h"

#include "DropDetectionView.h"
#include "NotchViewModel.h"
#include "platform/DragPasteboard.h"
#include "platform/EventMonitors.h"
#include "platform/HapticFeedback.h"
#include "platform/NotchWindowSurface.h"
#include "platform/Pointer.h"
#include "platform/SystemEvents.h"
#include "platform/TimerQueue.h"
#include "preferences/PreferenceKeys.h"
#include "preferences/Preferences.h"
#include "ui/QmlInstances.h"

#include <algorithm>
#include <limits>

namespace talvo {

using namespace std::chrono_literals;

namespace {

// Far enough back that any span measured from it exceeds every threshold, yet
// safe to subtract from.
constexpr qint64 kDistantPast = std::numeric_limits<qint64>::min() / 4;

bool isMouseUp(PointerEventType type)
{
    return type == PointerEventType::LeftMouseUp || type == PointerEventType::RightMouseUp
           || type == PointerEventType::OtherMouseUp;
}

bool isMouseDragged(PointerEventType type)
{
    return type == PointerEventType::LeftMouseDragged || type == PointerEventType::RightMouseDragged
           || type == PointerEventType::OtherMouseDragged;
}

} // namespace

NotchWindowController::NotchWindowController(NotchViewModel &viewModel, Preferences &preferences,
                                             const NotchPlatform &platform, QObject *parent)
    : QObject(parent)
    , m_viewModel(viewModel)
    , m_preferences(preferences)
    , m_scheduler(platform.scheduler)
    , m_monitorQueue(platform.monitorQueue)
    , m_screens(platform.screens)
    , m_pointer(platform.pointer)
    , m_eventMonitors(platform.eventMonitors)
    , m_dragPasteboard(platform.dragPasteboard)
    , m_window(platform.window)
    , m_systemEvents(platform.systemEvents)
    , m_haptics(platform.haptics)
    , m_lastTabSwitchTime(kDistantPast)
    , m_lastMouseCheckTime(platform.scheduler.monotonicMs())
    , m_lastPositionCheckAt(kDistantPast)
    , m_lastCompletedFileDragChangeCount(platform.dragPasteboard.changeCount())
    , m_pointerPoll(platform.scheduler, platform.monitorQueue, platform.pointer, kPollInterval)
{
    refreshCachedPreferences();
    const QList<ScreenInfo> screens = m_screens.screens();
    m_pinnedScreen = screens.isEmpty() ? m_screens.mainScreen() : std::optional<ScreenInfo>(screens.first());
    m_window.setOverlayLevel();
    positionWindow();
    updateShape();
    startHealthCheck();
    startMonitoring();
    subscribe();
    // The window starts out taking the pointer; the first settled state decides.
    schedulePassthroughUpdate();
}

NotchWindowController::~NotchWindowController()
{
    stopMonitoring();
    m_healthCheckTimer.cancel();
    m_passthroughDebounce.cancel();
}

NotchWindowController *NotchWindowController::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<NotchWindowController>(qmlEngine);
}

void NotchWindowController::subscribe()
{
    NotchViewModel *vm = &m_viewModel;
    for (auto signal : {&NotchViewModel::isDragTargetActiveChanged, &NotchViewModel::isFileDragActiveChanged,
                        &NotchViewModel::itemsChanged, &NotchViewModel::isHoveringChanged})
        connect(vm, signal, this, &NotchWindowController::schedulePassthroughUpdate);

    for (auto signal : {&NotchViewModel::isHoveringChanged, &NotchViewModel::isFullyExpandedChanged,
                        &NotchViewModel::isFileDragActiveChanged, &NotchViewModel::isDragTargetActiveChanged,
                        &NotchViewModel::isShelfItemDragActiveChanged, &NotchViewModel::itemsChanged,
                        &NotchViewModel::activeTabChanged, &NotchViewModel::showLimitReachedToastChanged})
        connect(vm, signal, this, &NotchWindowController::updateShape);

    connect(&m_preferences, &Preferences::changed, this, [this] {
        refreshCachedPreferences();
        positionWindow();
    });
    connect(&m_window, &NotchWindowSurface::compositingChanged, this, &NotchWindowController::applyWindowShapes);

    auto recoverAfter = [this](Scheduler::Duration delay) {
        return [this, delay] { m_scheduler.after(delay, this, [this] { recover(); }); };
    };
    connect(&m_systemEvents, &SystemEvents::didWake, this, recoverAfter(500ms));
    connect(&m_systemEvents, &SystemEvents::activeWorkspaceChanged, this, recoverAfter(500ms));
    connect(&m_systemEvents, &SystemEvents::applicationActivated, this, recoverAfter(300ms));
    connect(&m_systemEvents, &SystemEvents::screenParametersChanged, this, [this] {
        m_scheduler.after(300ms, this, [this] {
            validatePinnedScreen();
            recover();
        });
    });
    connect(&m_systemEvents, &SystemEvents::sessionUnlocked, this,
            [this] { m_scheduler.after(1000ms, this, [this] { startMonitoring(); }); });
}

void NotchWindowController::loadContent(QQmlEngine &engine, const QVariantMap &initialProperties)
{
    m_window.setContent(engine, QStringLiteral("Talvo"), QStringLiteral("NotchShelfView"), initialProperties);
}

void NotchWindowController::showWindow()
{
    m_window.setOverlayLevel();
    m_window.orderFrontRegardless();
    m_scheduler.after(100ms, this, [this] { startMonitoring(); });
}

// --- Geometry ---------------------------------------------------------------

DesktopCoordinates NotchWindowController::coordinates() const
{
    const QList<ScreenInfo> screens = m_screens.screens();
    if (!screens.isEmpty())
        return DesktopCoordinates(screens.first().geometry);
    if (const auto main = m_screens.mainScreen())
        return DesktopCoordinates(main->geometry);
    return DesktopCoordinates();
}

bool NotchWindowController::isFloating() const
{
    return m_cachedShelfStyle == QLatin1String("floating");
}

NotchGeometry NotchWindowController::geometry() const
{
    const NotchScreen screen = m_pinnedScreen ? coordinates().toNotch(*m_pinnedScreen) : NotchScreen{};
    return NotchGeometry(screen, isFloating());
}

void NotchWindowController::positionWindow()
{
    m_pointerPoll.recheck();
    if (!m_pinnedScreen)
        return;
    const bool floating = m_preferences.value(PrefKey::shelfStyle) == QLatin1String("floating");
    const NotchGeometry placement(coordinates().toNotch(*m_pinnedScreen), floating);
    const QRectF frame = coordinates().toQt(placement.windowFrame());
    const QRect rounded(QPoint(qRound(frame.x()), qRound(frame.y())), frame.size().toSize());
    if (m_window.frame() != rounded)
        m_window.setFrame(rounded);
    updateShape();
}

std::optional<ScreenInfo> NotchWindowController::targetScreen() const
{
    return targetScreen(pointerLocation());
}

std::optional<ScreenInfo> NotchWindowController::targetScreen(QPointF pointer) const
{
    const QList<ScreenInfo> screens = m_screens.screens();
    if (m_cachedTargetDisplay == QLatin1String("active")) {
        const DesktopCoordinates coords = coordinates();
        for (const ScreenInfo &screen : screens) {
            if (NotchGeometry::mouseInRect(pointer, coords.toNotch(screen.geometry)))
                return screen;
        }
    }
    if (!screens.isEmpty())
        return screens.first();
    return m_screens.mainScreen();
}

bool NotchWindowController::isInCollapsedHotZone(QPointF point) const
{
    return m_pinnedScreen && geometry().isInCollapsedHotZone(point);
}

NotchShapeState NotchWindowController::shapeState() const
{
    NotchShapeState state;
    state.isHovering = m_viewModel.isHovering();
    state.isFullyExpanded = m_viewModel.isFullyExpanded();
    state.isFileDragActive = m_viewModel.isFileDragActive();
    state.isDragTargetActive = m_viewModel.isDragTargetActive();
    state.isShelfItemDragActive = m_viewModel.isShelfItemDragActive();
    state.itemCount = int(m_viewModel.itemList().size());
    state.musicShowing = m_musicShowing;
    state.homeTab = m_viewModel.activeTab() == NotchPanelTab::Home;
    state.widgetCount = NotchGeometry::widgetCount(m_cachedActiveWidgetsOrder);
    return state;
}

QRectF NotchWindowController::currentShapeRect() const
{
    return geometry().shapeRect(shapeState());
}

bool NotchWindowController::pointIsOverNotch(QPointF point) const
{
    return isInCollapsedHotZone(point) || currentShapeRect().contains(point);
}

QPointF NotchWindowController::pointerLocation() const
{
    return coordinates().toNotch(m_pointer.position());
}

void NotchWindowController::updateShape()
{
    // A still pointer may now be inside or outside the new outline.
    m_pointerPoll.recheck();
    QRectF local;
    QRectF global;
    if (m_pinnedScreen) {
        const NotchGeometry g = geometry();
        const DesktopCoordinates coords = coordinates();
        global = coords.toQt(g.shapeRect(shapeState()));
        local = global.translated(-coords.toQt(g.windowFrame()).topLeft());
    }
    if (global != m_screenNotchRect) {
        m_screenNotchRect = global;
        emit screenNotchRectChanged();
    }
    if (local != m_notchRect) {
        m_notchRect = local;
        emit notchRectChanged();
    }
    applyWindowShapes();
}

void NotchWindowController::setToastRect(const QRectF &rect)
{
    if (rect == m_toastRect)
        return;
    m_toastRect = rect;
    emit toastRectChanged();
    applyWindowShapes();
}

void NotchWindowController::applyWindowShapes()
{
    const QRegion outline(m_notchRect.toAlignedRect());
    QRegion input;
    if (!m_ignoresMouseEvents && (m_viewModel.isFileDragActive() || m_viewModel.isDragTargetActive())) {
        // Drops are taken a margin around the outline: the drag's source must
        // find the window there too.
        const qreal m = DropDetectionView::kTargetMargin;
        const QRect window(0, 0, int(NotchGeometry::windowWidth), int(NotchGeometry::windowHeight));
        input = QRegion(m_notchRect.adjusted(-m, -m, m, m).toAlignedRect() & window);
    } else if (!m_ignoresMouseEvents) {
        input = outline;
    }
    if (m_appliedInputRegion != input) {
        m_appliedInputRegion = input;
        m_window.setInputRegion(input);
    }
    std::optional<QRegion> visible;
    if (!m_window.isCompositing()) {
        visible = outline;
        if (m_viewModel.showLimitReachedToast() && !m_toastRect.isEmpty())
            *visible += m_toastRect.toAlignedRect();
    }
    if (m_appliedBoundingRegion != visible) {
        m_appliedBoundingRegion = visible;
        m_window.setBoundingRegion(visible);
    }
}

// --- Monitoring -------------------------------------------------------------

void NotchWindowController::startMonitoring()
{
    if (m_isMonitoringActive)
        return;
    m_isMonitoringActive = true;
    stopMonitoring();

    m_globalMonitor = m_eventMonitors.addGlobalMonitor(kGlobalEvents, this,
                                                       [this](const PointerEvent &event) { handleEvent(event); });
    m_localMonitor = m_eventMonitors.addLocalMonitor(kLocalEvents, this,
                                                     [this](const PointerEvent &event) { handleEvent(event); });

    m_pointerPoll.start(this, [this] { return onPollTick(); });

    m_lastMouseCheckTime = m_scheduler.monotonicMs();
    m_isMonitoringActive = false;
}

void NotchWindowController::stopMonitoring()
{
    if (m_globalMonitor)
        m_eventMonitors.removeMonitor(std::exchange(m_globalMonitor, 0));
    if (m_localMonitor)
        m_eventMonitors.removeMonitor(std::exchange(m_localMonitor, 0));
    m_pointerPoll.stop();
}

bool NotchWindowController::onPollTick()
{
    checkDragEnded();
    const qint64 lastCheck = m_lastPositionCheckAt;
    updateHoverState();
    // A throttled (or forced) hover check did not look at this pointer.
    return m_lastPositionCheckAt != lastCheck;
}

void NotchWindowController::startHealthCheck()
{
    m_healthCheckTimer.cancel();
    QPointer<NotchWindowController> weak(this);
    Scheduler *scheduler = &m_scheduler;
    m_healthCheckTimer = m_monitorQueue.every(kHealthCheckInterval, kHealthCheckInterval, [weak, scheduler] {
        scheduler->post(nullptr, [weak] {
            if (weak)
                weak->onHealthCheckTick();
        });
    });
}

void NotchWindowController::onHealthCheckTick()
{
    // The poll looks at the pointer on every tick, but hands over only when
    // something changed: a look counts as a check of the mouse.
    const qint64 lastCheck = std::max(m_lastMouseCheckTime, m_pointerPoll.lastLookAt());
    if (!isMonitoring() || m_scheduler.monotonicMs() - lastCheck > kStaleMonitoringMs)
        startMonitoring();
    m_window.setOverlayLevel();
    m_window.orderFrontRegardless();
}

// --- Pointer events ---------------------------------------------------------

void NotchWindowController::handleEvent(const PointerEvent &event)
{
    m_lastMouseCheckTime = m_scheduler.monotonicMs();
    handleDragEvent(event);
    updateHoverState();
    if (event.type == PointerEventType::LeftMouseDown)
        handleClick(pointerLocation());
    else if (event.type == PointerEventType::ScrollWheel)
        handleScroll(event);
    else
        m_scrollAccumulator = 0;
}

void NotchWindowController::updateHoverState()
{
    NotchViewModel &vm = m_viewModel;
    if (vm.isForcedOpen()) {
        if (vm.isHovering() && vm.isFullyExpanded())
            return;
        vm.setIsHovering(true);
        vm.setIsFullyExpanded(true);
        updateMouseEventPassthrough();
        return;
    }

    const qint64 now = m_scheduler.monotonicMs();
    if (now - m_lastPositionCheckAt < kHoverThrottleMs)
        return;
    m_lastPositionCheckAt = now;
    m_lastMouseCheckTime = now;

    const QPointF pointer = pointerLocation();
    const std::optional<ScreenInfo> target = targetScreen(pointer);
    if (target != m_pinnedScreen) {
        m_pinnedScreen = target;
        positionWindow();
    }

    bool inside = isInCollapsedHotZone(pointer);
    if (vm.isHovering() && !inside) {
        const qreal m = NotchGeometry::hoverMargin;
        inside = currentShapeRect().adjusted(-m, -m, m, m).contains(pointer);
    }
    if (inside != vm.isHovering()) {
        vm.setIsHovering(inside);
        updateMouseEventPassthrough();
    }
}

void NotchWindowController::handleClick(QPointF point)
{
    NotchViewModel &vm = m_viewModel;
    if (vm.isFullyExpanded() || vm.isFileDragActive() || vm.isDragTargetActive() || vm.isShelfItemDragActive())
        return;
    if (!pointIsOverNotch(point))
        return;
    vm.setIsHovering(true);
    vm.setIsFullyExpanded(true);
    updateMouseEventPassthrough();
}

void NotchWindowController::handleScroll(const PointerEvent &event)
{
    NotchViewModel &vm = m_viewModel;
    if (!vm.isFullyExpanded()) {
        if (vm.isFileDragActive() || vm.isDragTargetActive() || vm.isShelfItemDragActive())
            return;
        const bool moved = qAbs(event.delta.y()) > 0.1 || qAbs(event.delta.x()) > 0.1;
        if (!moved || !pointIsOverNotch(pointerLocation()))
            return;
        vm.setIsHovering(true);
        vm.setIsFullyExpanded(true);
        vm.setActiveTab(NotchPanelTab::Home);
        m_haptics.perform();
        updateMouseEventPassthrough();
        return;
    }

    if (m_scheduler.monotonicMs() - m_lastTabSwitchTime < kTabSwitchSpacingMs)
        return;
    if (vm.isHoveringScrollableWidget())
        return;

    const qreal delta = event.hasPreciseScrollingDeltas ? event.scrollingDelta.y() : event.delta.y();
    m_scrollAccumulator += delta;
    const qreal threshold = event.hasPreciseScrollingDeltas ? kPreciseScrollThreshold : kLineScrollThreshold;
    if (qAbs(m_scrollAccumulator) >= threshold)
        switchTabByScroll();
    if ((delta > 0 && m_scrollAccumulator < 0) || (delta < 0 && m_scrollAccumulator > 0))
        m_scrollAccumulator = 0;
}

void NotchWindowController::switchTabByScroll()
{
    // The shortcuts tab is reached only by its button.
    static const QList<NotchPanelTab> cycle{NotchPanelTab::Home, NotchPanelTab::Tray};
    const qsizetype index = cycle.indexOf(m_viewModel.activeTab());
    if (index < 0)
        return;
    const qsizetype step = m_scrollAccumulator < 0 ? 1 : -1;
    const qsizetype next = std::clamp<qsizetype>(index + step, 0, cycle.size() - 1);
    if (next == index)
        return;
    m_lastTabSwitchTime = m_scheduler.monotonicMs();
    m_viewModel.setActiveTab(cycle.at(next));
    m_haptics.perform();
}

// --- File drags -------------------------------------------------------------

const QStringList &NotchWindowController::fileDragTypes()
{
    static const QStringList types{
        QStringLiteral("text/uri-list"),
        QStringLiteral("application/x-kde4-urilist"),
        QStringLiteral("x-special/gnome-copied-files"),
        QStringLiteral("application/vnd.portal.filetransfer"),
        QStringLiteral("application/vnd.portal.files"),
    };
    return types;
}

void NotchWindowController::handleDragEvent(const PointerEvent &event)
{
    if (m_viewModel.isShelfItemDragActive())
        return;
    if (isMouseUp(event.type)) {
        finishFileDrag();
        return;
    }
    if (!isMouseDragged(event.type))
        return;

    const qint64 changeCount = m_dragPasteboard.changeCount();
    const QStringList offered = m_dragPasteboard.types();
    const bool carriesFiles = std::any_of(fileDragTypes().cbegin(), fileDragTypes().cend(),
                                          [&](const QString &type) { return offered.contains(type); });
    if (!carriesFiles)
        return;
    // The selection still holds a drag that has ended (the user may now be
    // selecting text by dragging): not a new file drag.
    if (!m_viewModel.isFileDragActive() && changeCount == m_lastCompletedFileDragChangeCount)
        return;
    m_activeFileDragChangeCount = changeCount;
    setFileDragActive(true);
}

void NotchWindowController::finishFileDrag()
{
    m_lastCompletedFileDragChangeCount = m_activeFileDragChangeCount.value_or(m_dragPasteboard.changeCount());
    m_activeFileDragChangeCount.reset();
    setFileDragActive(false);
}

void NotchWindowController::checkDragEnded()
{
    if (m_viewModel.isFileDragActive() && m_pointer.pressedButtons() == Qt::NoButton)
        finishFileDrag();
}

void NotchWindowController::setFileDragActive(bool active)
{
    if (m_viewModel.isFileDragActive() == active)
        return;
    m_viewModel.setIsFileDragActive(active);
    if (!active)
        m_viewModel.setIsDragTargetActive(false);
}

void NotchWindowController::setShelfItemDragActive(bool active)
{
    if (m_viewModel.isShelfItemDragActive() == active)
        return;
    m_viewModel.setIsShelfItemDragActive(active);
    updateMouseEventPassthrough();
}

// --- Mouse pass-through -----------------------------------------------------

void NotchWindowController::schedulePassthroughUpdate()
{
    m_passthroughDebounce.cancel();
    m_passthroughDebounce = m_scheduler.after(kPassthroughDebounce, this, [this] { updateMouseEventPassthrough(); });
}

void NotchWindowController::updateMouseEventPassthrough()
{
    const NotchViewModel &vm = m_viewModel;
    const bool interactive =
        vm.isHovering() || vm.isFileDragActive() || vm.isDragTargetActive() || vm.isShelfItemDragActive();
    if (m_ignoresMouseEvents == !interactive)
        return;
    m_ignoresMouseEvents = !interactive;
    applyWindowShapes();
    emit ignoresMouseEventsChanged();
}

// --- Preferences, screens, recovery ----------------------------------------

void NotchWindowController::refreshCachedPreferences()
{
    m_cachedShelfStyle = m_preferences.value(PrefKey::shelfStyle);
    m_cachedTargetDisplay = m_preferences.value(PrefKey::targetDisplay);
    m_cachedActiveWidgetsOrder = m_preferences.value(PrefKey::activeWidgetsOrder);
    updateShape();
}

void NotchWindowController::validatePinnedScreen()
{
    const QList<ScreenInfo> screens = m_screens.screens();
    const quint32 number = m_pinnedScreen ? m_pinnedScreen->number : 0;
    for (const ScreenInfo &screen : screens) {
        if (screen.number != 0 && screen.number == number) {
            // Same output; its geometry may have changed meanwhile.
            m_pinnedScreen = screen;
            return;
        }
    }
    if (const auto main = m_screens.mainScreen())
        m_pinnedScreen = main;
    else if (!screens.isEmpty())
        m_pinnedScreen = screens.first();
    else
        m_pinnedScreen.reset();
}

void NotchWindowController::recover()
{
    startMonitoring();
    positionWindow();
    m_window.setOverlayLevel();
    m_window.orderFrontRegardless();
}

// --- First-run greeting -----------------------------------------------------

void NotchWindowController::showOnboardingGreeting()
{
    m_viewModel.setIsOnboardingGreetingActive(true);
    setForcedOpen(true);
    m_scheduler.after(kGreetingDuration, this, [this] { endOnboardingGreeting(); });
}

void NotchWindowController::setForcedOpen(bool flag)
{
    m_viewModel.setIsForcedOpen(flag);
    m_viewModel.setIsHovering(flag);
    m_viewModel.setIsFullyExpanded(flag);
}

void NotchWindowController::endOnboardingGreeting()
{
    m_viewModel.setIsForcedOpen(false);
    m_viewModel.setIsHovering(false);
    m_viewModel.setIsFullyExpanded(false);
    m_viewModel.setIsOnboardingGreetingActive(false);
}

void NotchWindowController::setMusicShowing(bool showing)
{
    if (m_musicShowing == showing)
        return;
    m_musicShowing = showing;
    updateShape();
}

} // namespace talvo
