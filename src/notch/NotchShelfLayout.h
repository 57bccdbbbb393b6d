#pragma once

#include "NotchViewModel.h"
#include "NotchWindowController.h"
#include "platform/Screens.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

#include <optional>

namespace talvo {

// Everything the notch's root view shows, worked out from the shared state:
// the body's size, its outline and radii, its background and shadow, which of
// the seven content layouts is current, and the texts and numbers inside them.
// The view binds the inputs (the view model's flags, the now-playing state, the
// preferences and the pinned screen) and lays out and animates the outputs; it
// decides nothing itself.
//
// The sizes come from NotchSizes by the drawn body's rule. The window
// controller measures its outline (hit testing, the window's input shape) from
// the same table by its own rule, which differs in places (it counts every
// non-empty widget piece, and the floating style has fixed widths there); the
// two are kept apart on purpose.
//
// Inputs are writable properties; outputs are read-only and announce only real
// changes. Main thread only.
class NotchShelfLayout : public QObject
{
    Q_OBJECT
    QML_ELEMENT

    // --- inputs: the view model ---
    Q_PROPERTY(bool isHovering READ isHovering WRITE setIsHovering NOTIFY isHoveringChanged)
    Q_PROPERTY(bool isFullyExpanded READ isFullyExpanded WRITE setIsFullyExpanded NOTIFY isFullyExpandedChanged)
    Q_PROPERTY(bool isFileDragActive READ isFileDragActive WRITE setIsFileDragActive NOTIFY isFileDragActiveChanged)
    Q_PROPERTY(bool isDragTargetActive READ isDragTargetActive WRITE setIsDragTargetActive NOTIFY isDragTargetActiveChanged)
    Q_PROPERTY(bool isShelfItemDragActive READ isShelfItemDragActive WRITE setIsShelfItemDragActive NOTIFY isShelfItemDragActiveChanged)
    Q_PROPERTY(bool isOnboardingGreetingActive READ isOnboardingGreetingActive WRITE setIsOnboardingGreetingActive NOTIFY isOnboardingGreetingActiveChanged)
    Q_PROPERTY(int itemCount READ itemCount WRITE setItemCount NOTIFY itemCountChanged)
    Q_PROPERTY(talvo::NotchViewModel::NotchPanelTab activeTab READ activeTab WRITE setActiveTab NOTIFY activeTabChanged)
    Q_PROPERTY(talvo::NotchViewModel::ToastStyle toastStyle READ toastStyle WRITE setToastStyle NOTIFY toastStyleChanged)
    // --- inputs: now playing ---
    Q_PROPERTY(bool isPlaying READ isPlaying WRITE setIsPlaying NOTIFY isPlayingChanged)
    Q_PROPERTY(bool isClosedForCurrentTrack READ isClosedForCurrentTrack WRITE setIsClosedForCurrentTrack NOTIFY isClosedForCurrentTrackChanged)
    // --- inputs: preferences ---
    Q_PROPERTY(QString activeWidgetsOrder READ activeWidgetsOrder WRITE setActiveWidgetsOrder NOTIFY activeWidgetsOrderChanged)
    Q_PROPERTY(QString shelfStyle READ shelfStyle WRITE setShelfStyle NOTIFY shelfStyleChanged)
    Q_PROPERTY(bool enableGlassUI READ enableGlassUI WRITE setEnableGlassUI NOTIFY enableGlassUIChanged)
    // --- input: where the screen comes from (may stay null; see setScreen) ---
    Q_PROPERTY(talvo::NotchWindowController *windowController READ windowController WRITE setWindowController NOTIFY windowControllerChanged)

    // --- outputs: derived conditions ---
    Q_PROPERTY(bool isFloating READ isFloating NOTIFY isFloatingChanged)
    Q_PROPERTY(bool showsPanelContent READ showsPanelContent NOTIFY showsPanelContentChanged)
    Q_PROPERTY(bool isDraggingShelfItemOut READ isDraggingShelfItemOut NOTIFY isDraggingShelfItemOutChanged)
    Q_PROPERTY(bool isOpenState READ isOpenState NOTIFY isOpenStateChanged)
    Q_PROPERTY(bool showsNowPlayingPeek READ showsNowPlayingPeek NOTIFY showsNowPlayingPeekChanged)
    Q_PROPERTY(bool isHoverPeek READ isHoverPeek NOTIFY isHoverPeekChanged)
    Q_PROPERTY(QStringList activeWidgetIDs READ activeWidgetIDs NOTIFY activeWidgetIDsChanged)
    Q_PROPERTY(int knownWidgetCount READ knownWidgetCount NOTIFY knownWidgetCountChanged)
    Q_PROPERTY(ContentLayout contentLayout READ contentLayout NOTIFY contentLayoutChanged)
    // --- outputs: body ---
    Q_PROPERTY(qreal baseNotchWidth READ baseNotchWidth NOTIFY baseNotchWidthChanged)
    Q_PROPERTY(qreal baseNotchHeight READ baseNotchHeight NOTIFY baseNotchHeightChanged)
    Q_PROPERTY(qreal notchWidth READ notchWidth NOTIFY notchWidthChanged)
    Q_PROPERTY(qreal notchHeight READ notchHeight NOTIFY notchHeightChanged)
    Q_PROPERTY(qreal topRadius READ topRadius NOTIFY topRadiusChanged)
    Q_PROPERTY(qreal bottomRadius READ bottomRadius NOTIFY bottomRadiusChanged)
    Q_PROPERTY(qreal cornerRadius READ cornerRadius NOTIFY cornerRadiusChanged)
    Q_PROPERTY(qreal blackOpacity READ blackOpacity NOTIFY blackOpacityChanged)
    Q_PROPERTY(qreal glassOpacity READ glassOpacity NOTIFY glassOpacityChanged)
    Q_PROPERTY(qreal shadowOpacity READ shadowOpacity NOTIFY shadowOpacityChanged)
    Q_PROPERTY(qreal shadowRadius READ shadowRadius NOTIFY shadowRadiusChanged)
    Q_PROPERTY(qreal shadowOffsetY READ shadowOffsetY NOTIFY shadowOffsetYChanged)
    // --- outputs: content ---
    Q_PROPERTY(qreal dropSymbolScale READ dropSymbolScale NOTIFY dropSymbolScaleChanged)
    Q_PROPERTY(QColor dropSymbolColor READ dropSymbolColor CONSTANT)
    Q_PROPERTY(QString itemCountText READ itemCountText NOTIFY itemCountTextChanged)
    Q_PROPERTY(bool showsClearButton READ showsClearButton NOTIFY showsClearButtonChanged)
    Q_PROPERTY(qreal peekRowHeight READ peekRowHeight NOTIFY peekRowHeightChanged)
    Q_PROPERTY(qreal peekRowTopInset READ peekRowTopInset NOTIFY peekRowTopInsetChanged)
    Q_PROPERTY(qreal peekContentSize READ peekContentSize CONSTANT)
    Q_PROPERTY(qreal toastTopPadding READ toastTopPadding NOTIFY toastTopPaddingChanged)
    Q_PROPERTY(QString toastSymbol READ toastSymbol NOTIFY toastSymbolChanged)
    Q_PROPERTY(QColor toastAccent READ toastAccent NOTIFY toastAccentChanged)

public:
    // The body's content, in the order the conditions are tried (last: none).
    enum class ContentLayout { Greeting, Panel, DropTarget, FileDragHint, ShelfStrip, NowPlayingPeek, Bare };
    Q_ENUM(ContentLayout)

    // "a,,b" -> ["a", "b"]: split at every comma, empty pieces dropped.
    static QStringList splitWidgetIDs(const QString &activeWidgetsOrder);

    explicit NotchShelfLayout(QObject *parent = nullptr);
    ~NotchShelfLayout() override;

    bool isHovering() const { return m_in.isHovering; }
    void setIsHovering(bool value);
    bool isFullyExpanded() const { return m_in.isFullyExpanded; }
    void setIsFullyExpanded(bool value);
    bool isFileDragActive() const { return m_in.isFileDragActive; }
    void setIsFileDragActive(bool value);
    bool isDragTargetActive() const { return m_in.isDragTargetActive; }
    void setIsDragTargetActive(bool value);
    bool isShelfItemDragActive() const { return m_in.isShelfItemDragActive; }
    void setIsShelfItemDragActive(bool value);
    bool isOnboardingGreetingActive() const { return m_in.isOnboardingGreetingActive; }
    void setIsOnboardingGreetingActive(bool value);
    int itemCount() const { return m_in.itemCount; }
    void setItemCount(int count);
    NotchPanelTab activeTab() const { return m_in.activeTab; }
    void setActiveTab(NotchPanelTab tab);
    ToastStyle toastStyle() const { return m_in.toastStyle; }
    void setToastStyle(ToastStyle style);
    bool isPlaying() const { return m_in.isPlaying; }
    void setIsPlaying(bool value);
    bool isClosedForCurrentTrack() const { return m_in.isClosedForCurrentTrack; }
    void setIsClosedForCurrentTrack(bool value);
    QString activeWidgetsOrder() const { return m_in.activeWidgetsOrder; }
    void setActiveWidgetsOrder(const QString &order);
    QString shelfStyle() const { return m_in.shelfStyle; }
    void setShelfStyle(const QString &style);
    bool enableGlassUI() const { return m_in.enableGlassUI; }
    void setEnableGlassUI(bool value);

    // The screen the notch is pinned to. With a window controller the layout
    // follows the controller's pinned screen; without one it uses the screen
    // given here (nothing: no screen at all).
    NotchWindowController *windowController() const { return m_windowController; }
    void setWindowController(NotchWindowController *controller);
    void setScreen(const std::optional<ScreenInfo> &screen);
    std::optional<ScreenInfo> screen() const { return m_in.screen; }

    bool isFloating() const { return m_out.isFloating; }
    bool showsPanelContent() const { return m_out.showsPanelContent; }
    bool isDraggingShelfItemOut() const { return m_out.isDraggingShelfItemOut; }
    bool isOpenState() const { return m_out.isOpenState; }
    bool showsNowPlayingPeek() const { return m_out.showsNowPlayingPeek; }
    bool isHoverPeek() const { return m_out.isHoverPeek; }
    QStringList activeWidgetIDs() const { return m_out.activeWidgetIDs; }
    int knownWidgetCount() const { return m_out.knownWidgetCount; }
    ContentLayout contentLayout() const { return m_out.contentLayout; }
    qreal baseNotchWidth() const { return m_out.baseNotchWidth; }
    qreal baseNotchHeight() const { return m_out.baseNotchHeight; }
    qreal notchWidth() const { return m_out.notchWidth; }
    qreal notchHeight() const { return m_out.notchHeight; }
    qreal topRadius() const { return m_out.topRadius; }
    qreal bottomRadius() const { return m_out.bottomRadius; }
    qreal cornerRadius() const { return m_out.cornerRadius; }
    qreal blackOpacity() const { return m_out.blackOpacity; }
    qreal glassOpacity() const { return m_out.glassOpacity; }
    qreal shadowOpacity() const { return m_out.shadowOpacity; }
    qreal shadowRadius() const { return m_out.shadowRadius; }
    qreal shadowOffsetY() const { return m_out.shadowOffsetY; }
    qreal dropSymbolScale() const { return m_out.dropSymbolScale; }
    static QColor dropSymbolColor();
    QString itemCountText() const { return m_out.itemCountText; }
    bool showsClearButton() const { return m_out.showsClearButton; }
    qreal peekRowHeight() const { return m_out.peekRowHeight; }
    qreal peekRowTopInset() const { return m_out.peekRowTopInset; }
    // The now-playing peek's artwork and controls are this tall.
    static qreal peekContentSize();
    qreal toastTopPadding() const { return m_out.toastTopPadding; }
    QString toastSymbol() const { return m_out.toastSymbol; }
    QColor toastAccent() const { return m_out.toastAccent; }

    // A tap on the body expands the notch only while it peeks under the
    // pointer. True when it did.
    Q_INVOKABLE bool tapBody(talvo::NotchViewModel *viewModel) const;
    // The shelf strip's "Clear": removes every item of the shelf.
    Q_INVOKABLE void clearShelf(talvo::NotchViewModel *viewModel) const;

    // The toast's symbol and accent for a style.
    static QString toastSymbolFor(ToastStyle style);
    static QColor toastAccentFor(ToastStyle style);

signals:
    void isHoveringChanged();
    void isFullyExpandedChanged();
    void isFileDragActiveChanged();
    void isDragTargetActiveChanged();
    void isShelfItemDragActiveChanged();
    void isOnboardingGreetingActiveChanged();
    void itemCountChanged();
    void activeTabChanged();
    void toastStyleChanged();
    void isPlayingChanged();
    void isClosedForCurrentTrackChanged();
    void activeWidgetsOrderChanged();
    void shelfStyleChanged();
    void enableGlassUIChanged();
    void windowControllerChanged();

    void isFloatingChanged();
    void showsPanelContentChanged();
    void isDraggingShelfItemOutChanged();
    void isOpenStateChanged();
    void showsNowPlayingPeekChanged();
    void isHoverPeekChanged();
    void activeWidgetIDsChanged();
    void knownWidgetCountChanged();
    void contentLayoutChanged();
    void baseNotchWidthChanged();
    void baseNotchHeightChanged();
    void notchWidthChanged();
    void notchHeightChanged();
    void topRadiusChanged();
    void bottomRadiusChanged();
    void cornerRadiusChanged();
    void blackOpacityChanged();
    void glassOpacityChanged();
    void shadowOpacityChanged();
    void shadowRadiusChanged();
    void shadowOffsetYChanged();
    void dropSymbolScaleChanged();
    void itemCountTextChanged();
    void showsClearButtonChanged();
    void peekRowHeightChanged();
    void peekRowTopInsetChanged();
    void toastTopPaddingChanged();
    void toastSymbolChanged();
    void toastAccentChanged();

private:
    struct Inputs
    {
        bool isHovering = false;
        bool isFullyExpanded = false;
        bool isFileDragActive = false;
        bool isDragTargetActive = false;
        bool isShelfItemDragActive = false;
        bool isOnboardingGreetingActive = false;
        int itemCount = 0;
        NotchPanelTab activeTab = NotchPanelTab::Home;
        ToastStyle toastStyle = ToastStyle::Warning;
        bool isPlaying = false;
        bool isClosedForCurrentTrack = false;
        // The preferences start at their defaults (set by the constructor).
        QString activeWidgetsOrder;
        QString shelfStyle;
        bool enableGlassUI = false;
        std::optional<ScreenInfo> screen;
    };
    struct Outputs
    {
        bool isFloating = false;
        bool showsPanelContent = false;
        bool isDraggingShelfItemOut = false;
        bool isOpenState = false;
        bool showsNowPlayingPeek = false;
        bool isHoverPeek = false;
        QStringList activeWidgetIDs;
        int knownWidgetCount = 0;
        ContentLayout contentLayout = ContentLayout::Bare;
        qreal baseNotchWidth = 0;
        qreal baseNotchHeight = 0;
        qreal notchWidth = 0;
        qreal notchHeight = 0;
        qreal topRadius = 0;
        qreal bottomRadius = 0;
        qreal cornerRadius = 0;
        qreal blackOpacity = 1;
        qreal glassOpacity = 0;
        qreal shadowOpacity = 0;
        qreal shadowRadius = 0;
        qreal shadowOffsetY = 0;
        qreal dropSymbolScale = 1;
        QString itemCountText;
        bool showsClearButton = false;
        qreal peekRowHeight = 0;
        qreal peekRowTopInset = 0;
        qreal toastTopPadding = 0;
        QString toastSymbol;
        QColor toastAccent;
    };

    static Outputs compute(const Inputs &in);
    template <typename T>
    bool setInput(T &field, const T &value, void (NotchShelfLayout::*changed)());
    void recompute();
    void refreshScreenFromController();

    Inputs m_in;
    Outputs m_out;
    QPointer<NotchWindowController> m_windowController;
    QMetaObject::Connection m_controllerConnection;
};

} // namespace talvo
