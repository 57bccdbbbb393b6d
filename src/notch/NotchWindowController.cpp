#include "NotchWindowController.h"

#include "DropDetectionView.h"
#include "NotchViewModel.h"
#include "ScreenChoice.h"
#include "platform/DragSelection.h"
#include "platform/EventMonitors.h"
#include "platform/HapticFeedback.h"
#include "platform/NotchWindowSurface.h"
#include "platform/Pointer.h"
#include "preferences/PreferenceKeys.h"
#include "preferences/Preferences.h"
#include "platform/QmlInstances.h"

#include <algorithm>
#include <limits>

namespace talvo {

using namespace std::chrono_literals;

namespace {

// Far enough back that any span measured from it exceeds every threshold, yet
// safe to subtract from.
constexpr qint64 kDistantPast = std::numeric_limits<qint64>::min() / 4;

} // namespace

NotchWindowController::NotchWindowController(NotchViewModel &viewModel, Preferences &preferences,
                                             const NotchPlatform &platform, QObject *parent)
    : QObject(parent)
    , m_viewModel(viewModel)
    , m_preferences(preferences)
    , m_scheduler(platform.scheduler)
    , m_screens(platform.screens)
    , m_pointer(platform.pointer)
    , m_eventMonitors(platform.eventMonitors)
    , m_dragSelection(platform.dragSelection)
    , m_window(platform.window)
    , m_haptics(platform.haptics)
    , m_lastMouseCheckTime(platform.scheduler.monotonicMs())
    , m_lastPositionCheckAt(kDistantPast)
    , m_pointerPoll(platform.scheduler, platform.monitorQueue, platform.pointer, kPollInterval)
    , m_fileDrag(viewModel, platform.dragSelection, platform.pointer,
                 [this] {
                     // The drop zone opens to (or closes on) a drag of unknown kind.
                     updateMouseEventPassthrough();
                     applyWindowShapes();
                 })
    , m_tabSwitcher(platform.scheduler)
    , m_watchdog(platform.scheduler, platform.monitorQueue, platform.systemEvents, platform.window,
                 {.isMonitoring = [this] { return isMonitoring(); },
                  // The poll looks at the pointer on every tick, but hands over
                  // only when something changed: a look counts as a check.
                  .lastPointerCheck = [this] { return std::max(m_lastMouseCheckTime, m_pointerPoll.lastLookAt()); },
                  .startMonitoring = [this] { startMonitoring(); },
                  .positionWindow = [this] { positionWindow(); },
                  .revalidateScreen = [this] { m_pinnedScreen = chooseScreen(m_screens, m_pinnedScreen); }})
{
    refreshCachedPreferences();
    m_pinnedScreen = chooseScreen(m_screens);
    m_window.setOverlayLevel();
    positionWindow();
    updateShape();
    m_watchdog.startHealthCheck();
    startMonitoring();
    subscribe();
    // The window starts out taking the pointer; the first settled state decides.
    schedulePassthroughUpdate();
}

NotchWindowController::~NotchWindowController()
{
    stopMonitoring();
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
    connect(&m_dragSelection, &DragSelection::changed, this, [this] { m_fileDrag.selectionChanged(); });
}

void NotchWindowController::loadContent(QQmlEngine &engine, const QVariantMap &initialProperties)
{
    m_window.setContent(engine, QStringLiteral("Talvo"), QStringLiteral("NotchShelfView"), initialProperties);
}

void NotchWindowController::showWindow()
{
    m_window.setOverlayLevel();
    m_window.raise();
    m_scheduler.after(100ms, this, [this] { startMonitoring(); });
}

// --- Geometry ---------------------------------------------------------------

DesktopCoordinates NotchWindowController::coordinates() const
{
    const std::optional<ScreenInfo> main = chooseScreen(m_screens);
    return main ? DesktopCoordinates(main->geometry) : DesktopCoordinates();
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
    const QRectF frame = coordinates().toQt(geometry().windowFrame());
    const QRect rounded(QPoint(qRound(frame.x()), qRound(frame.y())), frame.size().toSize());
    if (m_window.frame() != rounded)
        m_window.setFrame(rounded);
    updateShape();
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
    return chooseScreen(m_screens);
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

void NotchWindowController::setShapeRect(QRectF &field, const QRectF &rect, void (NotchWindowController::*changed)())
{
    if (rect == field)
        return;
    field = rect;
    emit(this->*changed)();
    applyWindowShapes();
}

void NotchWindowController::setPopupRect(const QRectF &rect)
{
    const bool hadPopup = !m_popupRect.isEmpty();
    setShapeRect(m_popupRect, rect, &NotchWindowController::popupRectChanged);
    if (hadPopup != !rect.isEmpty())
        m_window.setTakesKeyboardFocus(!rect.isEmpty());
}

void NotchWindowController::applyWindowShapes()
{
    const QRegion outline(m_notchRect.toAlignedRect());
    QRegion input;
    if (!m_ignoresMouseEvents
        && (m_viewModel.isFileDragActive() || m_viewModel.isDragTargetActive() || m_fileDrag.isUnknownKindActive())) {
        // Drops are taken a margin around the outline: the drag's source must
        // find the window there too.
        const qreal m = DropDetectionView::kTargetMargin;
        const QRect window(0, 0, int(NotchGeometry::windowWidth), int(NotchGeometry::windowHeight));
        input = QRegion(m_notchRect.adjusted(-m, -m, m, m).toAlignedRect() & window);
    } else if (!m_ignoresMouseEvents || m_hotZoneAlwaysActive) {
        input = outline;
    }
    const QRegion popup(m_popupRect.toAlignedRect());
    if (!m_ignoresMouseEvents)
        input += popup;
    if (m_appliedInputRegion != input) {
        m_appliedInputRegion = input;
        m_window.setInputRegion(input);
    }
    std::optional<QRegion> visible;
    if (!m_window.isCompositing()) {
        visible = QRegion((m_bodyRect.isEmpty() ? m_notchRect : m_bodyRect).toAlignedRect());
        if (m_viewModel.showLimitReachedToast() && !m_toastRect.isEmpty())
            *visible += m_toastRect.toAlignedRect();
        *visible += popup;
    }
    if (m_appliedBoundingRegion != visible) {
        m_appliedBoundingRegion = visible;
        m_window.setBoundingRegion(visible);
    }
}

// --- Monitoring -------------------------------------------------------------

void NotchWindowController::startMonitoring()
{
    if (m_startingMonitoring)
        return;
    m_startingMonitoring = true;
    stopMonitoring();

    m_globalMonitor = m_eventMonitors.addGlobalMonitor(kGlobalEvents, this,
                                                       [this](const PointerEvent &event) { handleEvent(event); });
    m_localMonitor = m_eventMonitors.addLocalMonitor(kLocalEvents, this,
                                                     [this](const PointerEvent &event) { handleEvent(event); });

    m_pointerPoll.start(this, [this] { return onPollTick(); });

    m_lastMouseCheckTime = m_scheduler.monotonicMs();
    m_startingMonitoring = false;
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
    m_fileDrag.checkDragEnded();
    const qint64 lastCheck = m_lastPositionCheckAt;
    updateHoverState();
    // A throttled (or forced) hover check did not look at this pointer.
    return m_lastPositionCheckAt != lastCheck;
}

// --- Pointer events ---------------------------------------------------------

void NotchWindowController::handleEvent(const PointerEvent &event)
{
    m_lastMouseCheckTime = m_scheduler.monotonicMs();
    m_fileDrag.handleEvent(event);
    updateHoverState();
    if (event.type == PointerEventType::LeftMouseDown)
        handleClick(pointerLocation());
    else if (event.type == PointerEventType::ScrollWheel)
        handleScroll(event);
    else
        m_tabSwitcher.reset();
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
    if (m_openedOnRequest) {
        if (!inside && vm.isFullyExpanded())
            return;
        m_openedOnRequest = false;
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

void NotchWindowController::setHotZoneAlwaysActive(bool active)
{
    m_hotZoneAlwaysActive = active;
    applyWindowShapes();
}

void NotchWindowController::openOnRequest(NotchViewModel::NotchPanelTab tab)
{
    NotchViewModel &vm = m_viewModel;
    m_openedOnRequest = true;
    vm.setIsHovering(true);
    vm.setIsFullyExpanded(true);
    vm.setActiveTab(tab);
    updateMouseEventPassthrough();
}

bool NotchWindowController::collapse()
{
    NotchViewModel &vm = m_viewModel;
    if (vm.isForcedOpen())
        return false;
    m_openedOnRequest = false;
    vm.setIsHovering(false);
    updateMouseEventPassthrough();
    return true;
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

    if (vm.isHoveringScrollableWidget())
        return;
    if (const std::optional<NotchPanelTab> tab = m_tabSwitcher.scroll(event, vm.activeTab())) {
        vm.setActiveTab(*tab);
        m_haptics.perform();
    }
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
    const bool interactive = vm.isHovering() || vm.isFileDragActive() || vm.isDragTargetActive()
                             || vm.isShelfItemDragActive() || m_fileDrag.isUnknownKindActive();
    if (m_ignoresMouseEvents == !interactive)
        return;
    m_ignoresMouseEvents = !interactive;
    applyWindowShapes();
    emit ignoresMouseEventsChanged();
}

// --- Preferences ------------------------------------------------------------

void NotchWindowController::refreshCachedPreferences()
{
    m_cachedShelfStyle = m_preferences.value(PrefKey::shelfStyle);
    m_cachedTargetDisplay = m_preferences.value(PrefKey::targetDisplay);
    m_cachedActiveWidgetsOrder = m_preferences.value(PrefKey::activeWidgetsOrder);
    updateShape();
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

void NotchWindowController::setKeyboardFocusWanted(bool wanted)
{
    m_window.setTakesKeyboardFocus(wanted);
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
