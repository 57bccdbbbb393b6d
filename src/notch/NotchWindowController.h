#pragma once

#include "DesktopCoordinates.h"
#include "FileDragTracker.h"
#include "MonitoringWatchdog.h"
#include "NotchGeometry.h"
#include "PointerPoll.h"
#include "ScrollTabSwitcher.h"
#include "platform/PointerEvent.h"
#include "platform/Scheduler.h"
#include "platform/Screens.h"

#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QRegion>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

#include <memory>
#include <optional>

class QQmlEngine;
class QJSEngine;

namespace talvo {

class DragSelection;
class EventMonitors;
class HapticFeedback;
class NotchViewModel;
class NotchWindowSurface;
class Pointer;
class Preferences;
class SystemEvents;
class TimerQueue;

// The services the notch window works with.
struct NotchPlatform
{
    Scheduler &scheduler;
    // The serial queue on which the pointer poll and the health check tick.
    TimerQueue &monitorQueue;
    Screens &screens;
    Pointer &pointer;
    EventMonitors &eventMonitors;
    DragSelection &dragSelection;
    NotchWindowSurface &window;
    SystemEvents &systemEvents;
    HapticFeedback &haptics;
};

// Owns the notch window and decides at every moment what shape the notch has:
// collapsed, peeking, expanded into the panel, stretched for a file drop, or
// widened while a shelf item is dragged out. Hover is decided from geometry
// alone, from pointer events of the whole desktop plus a 50 ms poll; the window
// lets the pointer through whenever the notch is not in use, so it never gets
// in the way of the programs below. File drags are told by a FileDragTracker,
// scrolls over the open panel switch tabs through a ScrollTabSwitcher, and a
// MonitoringWatchdog keeps the monitoring alive.
//
// Geometry: the public rectangles and points are in the notch's coordinate
// space (origin bottom left, y up; see DesktopCoordinates). notchRect is the
// same outline in the window's own top-left coordinates, for the view.
//
// Main thread only.
class NotchWindowController : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QRectF notchRect READ notchRect NOTIFY notchRectChanged)
    // The same outline in Qt's global coordinates.
    Q_PROPERTY(QRectF screenNotchRect READ screenNotchRect NOTIFY screenNotchRectChanged)
    Q_PROPERTY(bool ignoresMouseEvents READ ignoresMouseEvents NOTIFY ignoresMouseEventsChanged)
    // Set by the view, in window coordinates: the body as drawn at this moment
    // (its own size, which need not be the outline's: the floating pill is
    // wider) and the toast while it shows. Without a compositing manager the
    // window is drawn only there (the outline until the view reports a body);
    // the pointer is still taken only on the outline.
    Q_PROPERTY(QRectF bodyRect READ bodyRect WRITE setBodyRect NOTIFY bodyRectChanged)
    Q_PROPERTY(QRectF toastRect READ toastRect WRITE setToastRect NOTIFY toastRectChanged)
    // Set by the view, in window coordinates, while a popup of the panel (the
    // add-event form) shows: the window then takes the pointer and draws
    // there as well, and accepts the keyboard focus.
    Q_PROPERTY(QRectF popupRect READ popupRect WRITE setPopupRect NOTIFY popupRectChanged)

public:
    static constexpr Scheduler::Duration kPollInterval{50};
    static constexpr qint64 kHoverThrottleMs = 16;
    static constexpr Scheduler::Duration kPassthroughDebounce{8};
    static constexpr Scheduler::Duration kGreetingDuration{4200};
    static constexpr PointerEventTypes kGlobalEvents{
        PointerEventType::LeftMouseDown,     PointerEventType::LeftMouseUp,      PointerEventType::RightMouseUp,
        PointerEventType::MouseMoved,        PointerEventType::LeftMouseDragged, PointerEventType::RightMouseDragged,
        PointerEventType::ScrollWheel,       PointerEventType::OtherMouseUp,     PointerEventType::OtherMouseDragged};
    static constexpr PointerEventTypes kLocalEvents =
        kGlobalEvents | PointerEventType::MouseEntered | PointerEventType::MouseExited;

    // Picks the main screen, places the window there, starts the health check
    // and the pointer monitoring and subscribes to the desktop's events. The
    // view model must outlive the controller.
    NotchWindowController(NotchViewModel &viewModel, Preferences &preferences, const NotchPlatform &platform,
                          QObject *parent = nullptr);
    ~NotchWindowController() override;

    // QML gets the instance the application built (see QmlInstances.h).
    static NotchWindowController *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    NotchViewModel &viewModel() const { return m_viewModel; }

    // Fills the window with the root view, its properties set from
    // `initialProperties` (the now-playing state, "nowPlaying").
    void loadContent(QQmlEngine &engine, const QVariantMap &initialProperties = {});
    // Brings the window up above everything and restarts monitoring shortly after.
    void showWindow();
    void positionWindow();
    std::optional<ScreenInfo> pinnedScreen() const { return m_pinnedScreen; }
    bool isInCollapsedHotZone(QPointF point) const;
    QRectF currentShapeRect() const;
    // The conversion between the notch's coordinates and Qt's.
    DesktopCoordinates coordinates() const;

    void startMonitoring();
    void stopMonitoring();
    bool isMonitoring() const { return m_globalMonitor && m_localMonitor && m_pointerPoll.isActive(); }

    // Entry of both event monitors.
    void handleEvent(const PointerEvent &event);
    void updateHoverState();
    void handleClick(QPointF point);
    void handleScroll(const PointerEvent &event);
    FileDragTracker &fileDrag() { return m_fileDrag; }
    // Called by the shelf's drag source when dragging one of its items begins
    // (true) and ends (false).
    Q_INVOKABLE void setShelfItemDragActive(bool active);
    void updateMouseEventPassthrough();

    void refreshCachedPreferences();
    MonitoringWatchdog &watchdog() { return m_watchdog; }

    // The first-run greeting: holds the panel open for kGreetingDuration. The
    // first-run flow and the whole-program tests ask for it through the control
    // bus's ShowGreeting().
    Q_INVOKABLE void showOnboardingGreeting();
    Q_INVOKABLE void setForcedOpen(bool flag);
    // A text field of the panel wants the keys (true) or is done (false).
    Q_INVOKABLE void setKeyboardFocusWanted(bool wanted);
    Q_INVOKABLE void endOnboardingGreeting();

    // Where the pointer over other programs' windows cannot be seen (XWayland),
    // the notch keeps taking the pointer at its outline even while passive, so
    // that hovering it still opens it.
    void setHotZoneAlwaysActive(bool active);
    // Opens the panel as a click would, for the command line and key bindings:
    // the pointer is usually elsewhere, so the panel stays open until the
    // pointer has come over it and left again, or collapse() is called.
    void openOnRequest(NotchViewModel::NotchPanelTab tab);
    // Closes the panel, as the pointer leaving it would. False while something
    // holds it open (the first-run flow, a form), which is left as it is.
    bool collapse();

    // Music is playing and its track has not been dismissed; widens the notch.
    void setMusicShowing(bool showing);

    QRectF notchRect() const { return m_notchRect; }
    QRectF screenNotchRect() const { return m_screenNotchRect; }
    bool ignoresMouseEvents() const { return m_ignoresMouseEvents; }
    QRectF bodyRect() const { return m_bodyRect; }
    void setBodyRect(const QRectF &rect) { setShapeRect(m_bodyRect, rect, &NotchWindowController::bodyRectChanged); }
    QRectF toastRect() const { return m_toastRect; }
    void setToastRect(const QRectF &rect) { setShapeRect(m_toastRect, rect, &NotchWindowController::toastRectChanged); }
    QRectF popupRect() const { return m_popupRect; }
    void setPopupRect(const QRectF &rect);

signals:
    void notchRectChanged();
    void screenNotchRectChanged();
    void ignoresMouseEventsChanged();
    void bodyRectChanged();
    void toastRectChanged();
    void popupRectChanged();

private:
    void subscribe();
    NotchGeometry geometry() const;
    // The screen the notch should be on with the pointer at `pointer`; nothing
    // when there is no screen.
    std::optional<ScreenInfo> targetScreen(QPointF pointer) const;
    NotchShapeState shapeState() const;
    bool isFloating() const;
    QPointF pointerLocation() const;
    bool onPollTick();
    void updateShape();
    void applyWindowShapes();
    // The view reports where it draws; the window's shapes follow.
    void setShapeRect(QRectF &field, const QRectF &rect, void (NotchWindowController::*changed)());
    void schedulePassthroughUpdate();
    bool pointIsOverNotch(QPointF point) const;

    NotchViewModel &m_viewModel;
    Preferences &m_preferences;
    Scheduler &m_scheduler;
    Screens &m_screens;
    Pointer &m_pointer;
    EventMonitors &m_eventMonitors;
    DragSelection &m_dragSelection;
    NotchWindowSurface &m_window;
    HapticFeedback &m_haptics;

    int m_globalMonitor = 0;
    int m_localMonitor = 0;
    TimerHandle m_passthroughDebounce;

    // Monotonic milliseconds; the distant past until set.
    qint64 m_lastMouseCheckTime;
    qint64 m_lastPositionCheckAt;
    std::optional<ScreenInfo> m_pinnedScreen;
    // Set while startMonitoring() runs: its re-entry guard.
    bool m_startingMonitoring = false;
    PointerPoll m_pointerPoll;
    FileDragTracker m_fileDrag;
    ScrollTabSwitcher m_tabSwitcher;
    MonitoringWatchdog m_watchdog;
    QString m_cachedShelfStyle;
    QString m_cachedTargetDisplay;
    QString m_cachedActiveWidgetsOrder;

    bool m_musicShowing = false;
    bool m_hotZoneAlwaysActive = false;
    bool m_openedOnRequest = false; // until the pointer first comes over the panel
    bool m_ignoresMouseEvents = false;
    QRectF m_notchRect;
    QRectF m_screenNotchRect;
    QRectF m_bodyRect;
    QRectF m_toastRect;
    QRectF m_popupRect;
    // What the window was last given, so that it is told only of changes.
    std::optional<QRegion> m_appliedInputRegion;
    std::optional<std::optional<QRegion>> m_appliedBoundingRegion;
};

} // namespace talvo
