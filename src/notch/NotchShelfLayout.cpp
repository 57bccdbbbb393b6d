#include "NotchShelfLayout.h"

#include "NotchSizes.h"
#include "NotchWindowController.h"
#include "preferences/PreferenceKeys.h"

#include <algorithm>

namespace talvo {

namespace {

// The design's system colours in their dark appearance (the notch is black).
const QColor kGreen(48, 209, 88);
const QColor kOrange(255, 159, 10);
const QColor kBlue(10, 132, 255);

std::optional<qreal> housingWidthOf(const std::optional<ScreenInfo> &screen)
{
    if (!screen || !screen->auxiliaryTopLeftArea || !screen->auxiliaryTopRightArea)
        return std::nullopt;
    return screen->geometry.width() - screen->auxiliaryTopLeftArea->width() - screen->auxiliaryTopRightArea->width();
}

} // namespace

QStringList NotchShelfLayout::splitWidgetIDs(const QString &activeWidgetsOrder)
{
    return activeWidgetsOrder.split(QLatin1Char(','), Qt::SkipEmptyParts);
}

qreal NotchShelfLayout::peekContentSize()
{
    return NotchSizes::peekContentSize;
}

QString NotchShelfLayout::toastSymbolFor(ToastStyle style)
{
    switch (style) {
    case ToastStyle::Success:
        return QStringLiteral("checkmark.circle.fill");
    case ToastStyle::Warning:
        return QStringLiteral("exclamationmark.triangle.fill");
    case ToastStyle::Info:
        break;
    }
    return QStringLiteral("info.circle.fill");
}

QColor NotchShelfLayout::toastAccentFor(ToastStyle style)
{
    switch (style) {
    case ToastStyle::Success:
        return kGreen;
    case ToastStyle::Warning:
        return kOrange;
    case ToastStyle::Info:
        break;
    }
    return kBlue;
}

QColor NotchShelfLayout::dropSymbolColor()
{
    QColor color = kGreen;
    color.setAlphaF(0.9f);
    return color;
}

NotchShelfLayout::Outputs NotchShelfLayout::compute(const Inputs &in)
{
    Outputs out;
    const bool fileDrag = in.isFileDragActive || in.isDragTargetActive;
    const bool expanded = in.isHovering && in.isFullyExpanded && !fileDrag;

    out.isFloating = in.shelfStyle == QLatin1String("floating");
    out.showsPanelContent = expanded && !in.isOnboardingGreetingActive;
    out.isDraggingShelfItemOut = in.isShelfItemDragActive && in.itemCount > 0 && !fileDrag;
    out.isOpenState = out.showsPanelContent || out.isDraggingShelfItemOut || fileDrag || in.isOnboardingGreetingActive;
    out.showsNowPlayingPeek = in.isPlaying && !out.isOpenState && !in.isClosedForCurrentTrack;
    out.isHoverPeek = in.isHovering && !in.isFullyExpanded && !fileDrag && !in.isShelfItemDragActive;
    out.activeWidgetIDs = splitWidgetIDs(in.activeWidgetsOrder);
    out.knownWidgetCount = NotchSizes::countWidgets(in.activeWidgetsOrder, NotchSizes::drawnBodyRule.widgetCounting);

    if (in.isOnboardingGreetingActive)
        out.contentLayout = ContentLayout::Greeting;
    else if (out.showsPanelContent)
        out.contentLayout = ContentLayout::Panel;
    else if (in.isDragTargetActive)
        out.contentLayout = ContentLayout::DropTarget;
    else if (in.isFileDragActive)
        out.contentLayout = ContentLayout::FileDragHint;
    else if (out.isDraggingShelfItemOut)
        out.contentLayout = ContentLayout::ShelfStrip;
    else if (out.showsNowPlayingPeek)
        out.contentLayout = ContentLayout::NowPlayingPeek;
    else
        out.contentLayout = ContentLayout::Bare;

    out.baseNotchWidth = NotchSizes::baseWidth(housingWidthOf(in.screen));
    out.baseNotchHeight = NotchSizes::baseHeight(
        out.isFloating, in.screen ? std::optional(in.screen->topSafeAreaInset) : std::nullopt);
    const qreal h = out.baseNotchHeight;
    const bool hoverPeek = out.isHoverPeek;
    const bool musicPeek = out.showsNowPlayingPeek;

    NotchBodyConditions conditions;
    conditions.greeting = in.isOnboardingGreetingActive;
    conditions.panel = expanded;
    conditions.shelfStrip = out.isDraggingShelfItemOut;
    conditions.fileDrag = fileDrag;
    conditions.hoverPeek = hoverPeek;
    conditions.musicPeek = musicPeek;
    const NotchBodyBase base{out.baseNotchWidth, h, out.isFloating};
    const QSizeF size = NotchSizes::bodySize(NotchSizes::drawnBodyRule, NotchSizes::bodyState(conditions), base,
                                             {in.activeTab == NotchPanelTab::Home, out.knownWidgetCount, in.itemCount});
    out.notchWidth = size.width();
    out.notchHeight = size.height();

    out.topRadius = NotchSizes::attachedTopRadius;
    if (out.isOpenState)
        out.bottomRadius = NotchSizes::openRadius;
    else if (hoverPeek)
        out.bottomRadius = NotchSizes::hoverPeekRadius;
    else if (musicPeek)
        out.bottomRadius = NotchSizes::musicPeekRadius;
    else
        out.bottomRadius = NotchSizes::idleAttachedRadius;
    out.cornerRadius = out.isOpenState ? NotchSizes::openRadius
                       : hoverPeek     ? NotchSizes::hoverPeekRadius
                                       : NotchSizes::idleFloatingRadius;

    const bool glass = in.enableGlassUI && out.isOpenState;
    out.blackOpacity = glass ? 0 : 1;
    out.glassOpacity = glass ? 1 : 0;
    out.shadowOpacity = out.isOpenState ? 0 : 0.22;
    out.shadowRadius = out.isOpenState ? 0 : NotchSizes::shadowRadius;
    out.shadowOffsetY = out.isOpenState ? 0 : NotchSizes::shadowOffsetY;

    out.dropSymbolScale = in.isDragTargetActive ? 1.06 : 1.0;
    out.itemCountText = in.itemCount == 1 ? QStringLiteral("1 item") : QStringLiteral("%1 items").arg(in.itemCount);
    out.showsClearButton = in.itemCount >= 2;
    // The peek's row spans the music peek's body, its content centred in the housing band.
    out.peekRowHeight = NotchSizes::bodySize(NotchSizes::drawnBodyRule, NotchBodyState::MusicPeek, base).height();
    out.peekRowTopInset = (h - NotchSizes::peekContentSize) * 0.5 + 2;
    out.toastTopPadding = h + NotchSizes::toastOffset;
    out.toastSymbol = toastSymbolFor(in.toastStyle);
    out.toastAccent = toastAccentFor(in.toastStyle);
    return out;
}

NotchShelfLayout::NotchShelfLayout(QObject *parent) : QObject(parent)
{
    m_in.activeWidgetsOrder = QString::fromUtf8(PrefKey::activeWidgetsOrder.defaultValue);
    m_in.shelfStyle = QString::fromUtf8(PrefKey::shelfStyle.defaultValue);
    m_in.enableGlassUI = PrefKey::enableGlassUI.defaultValue;
    m_out = compute(m_in);
}

NotchShelfLayout::~NotchShelfLayout() = default;

template <typename T>
bool NotchShelfLayout::setInput(T &field, const T &value, void (NotchShelfLayout::*changed)())
{
    if (field == value)
        return false;
    field = value;
    emit(this->*changed)();
    recompute();
    return true;
}

void NotchShelfLayout::setIsHovering(bool value)
{
    setInput(m_in.isHovering, value, &NotchShelfLayout::isHoveringChanged);
}

void NotchShelfLayout::setIsFullyExpanded(bool value)
{
    setInput(m_in.isFullyExpanded, value, &NotchShelfLayout::isFullyExpandedChanged);
}

void NotchShelfLayout::setIsFileDragActive(bool value)
{
    setInput(m_in.isFileDragActive, value, &NotchShelfLayout::isFileDragActiveChanged);
}

void NotchShelfLayout::setIsDragTargetActive(bool value)
{
    setInput(m_in.isDragTargetActive, value, &NotchShelfLayout::isDragTargetActiveChanged);
}

void NotchShelfLayout::setIsShelfItemDragActive(bool value)
{
    setInput(m_in.isShelfItemDragActive, value, &NotchShelfLayout::isShelfItemDragActiveChanged);
}

void NotchShelfLayout::setIsOnboardingGreetingActive(bool value)
{
    setInput(m_in.isOnboardingGreetingActive, value, &NotchShelfLayout::isOnboardingGreetingActiveChanged);
}

void NotchShelfLayout::setItemCount(int count)
{
    setInput(m_in.itemCount, std::max(count, 0), &NotchShelfLayout::itemCountChanged);
}

void NotchShelfLayout::setActiveTab(NotchPanelTab tab)
{
    setInput(m_in.activeTab, tab, &NotchShelfLayout::activeTabChanged);
}

void NotchShelfLayout::setToastStyle(ToastStyle style)
{
    setInput(m_in.toastStyle, style, &NotchShelfLayout::toastStyleChanged);
}

void NotchShelfLayout::setIsPlaying(bool value)
{
    setInput(m_in.isPlaying, value, &NotchShelfLayout::isPlayingChanged);
}

void NotchShelfLayout::setIsClosedForCurrentTrack(bool value)
{
    setInput(m_in.isClosedForCurrentTrack, value, &NotchShelfLayout::isClosedForCurrentTrackChanged);
}

void NotchShelfLayout::setActiveWidgetsOrder(const QString &order)
{
    setInput(m_in.activeWidgetsOrder, order, &NotchShelfLayout::activeWidgetsOrderChanged);
}

void NotchShelfLayout::setShelfStyle(const QString &style)
{
    setInput(m_in.shelfStyle, style, &NotchShelfLayout::shelfStyleChanged);
}

void NotchShelfLayout::setEnableGlassUI(bool value)
{
    setInput(m_in.enableGlassUI, value, &NotchShelfLayout::enableGlassUIChanged);
}

void NotchShelfLayout::setWindowController(NotchWindowController *controller)
{
    if (m_windowController == controller)
        return;
    disconnect(m_controllerConnection);
    m_windowController = controller;
    if (controller) {
        // The controller reshapes its outline whenever it moves to another
        // screen or the screen changes, so that is when to look again.
        m_controllerConnection = connect(controller, &NotchWindowController::notchRectChanged, this,
                                         &NotchShelfLayout::refreshScreenFromController);
    }
    emit windowControllerChanged();
    refreshScreenFromController();
}

void NotchShelfLayout::refreshScreenFromController()
{
    if (m_windowController)
        setScreen(m_windowController->pinnedScreen());
}

void NotchShelfLayout::setScreen(const std::optional<ScreenInfo> &screen)
{
    if (m_in.screen == screen)
        return;
    m_in.screen = screen;
    recompute();
}

bool NotchShelfLayout::tapBody(NotchViewModel *viewModel) const
{
    if (!viewModel || !m_out.isHoverPeek)
        return false;
    viewModel->setIsFullyExpanded(true);
    return true;
}

void NotchShelfLayout::clearShelf(NotchViewModel *viewModel) const
{
    if (!viewModel)
        return;
    // Copy the ids first: each removal changes the list being walked.
    QList<QUuid> ids;
    for (const ShelfItem &item : viewModel->itemList())
        ids.append(item.id);
    for (const QUuid &id : ids)
        viewModel->removeItem(id);
}

void NotchShelfLayout::recompute()
{
    const Outputs next = compute(m_in);
    Outputs previous = std::exchange(m_out, next);
    auto announce = [this](const auto &before, const auto &after, void (NotchShelfLayout::*changed)()) {
        if (before != after)
            emit(this->*changed)();
    };
    announce(previous.isFloating, next.isFloating, &NotchShelfLayout::isFloatingChanged);
    announce(previous.showsPanelContent, next.showsPanelContent, &NotchShelfLayout::showsPanelContentChanged);
    announce(previous.isDraggingShelfItemOut, next.isDraggingShelfItemOut,
             &NotchShelfLayout::isDraggingShelfItemOutChanged);
    announce(previous.isOpenState, next.isOpenState, &NotchShelfLayout::isOpenStateChanged);
    announce(previous.showsNowPlayingPeek, next.showsNowPlayingPeek, &NotchShelfLayout::showsNowPlayingPeekChanged);
    announce(previous.isHoverPeek, next.isHoverPeek, &NotchShelfLayout::isHoverPeekChanged);
    announce(previous.activeWidgetIDs, next.activeWidgetIDs, &NotchShelfLayout::activeWidgetIDsChanged);
    announce(previous.knownWidgetCount, next.knownWidgetCount, &NotchShelfLayout::knownWidgetCountChanged);
    announce(previous.contentLayout, next.contentLayout, &NotchShelfLayout::contentLayoutChanged);
    announce(previous.baseNotchWidth, next.baseNotchWidth, &NotchShelfLayout::baseNotchWidthChanged);
    announce(previous.baseNotchHeight, next.baseNotchHeight, &NotchShelfLayout::baseNotchHeightChanged);
    announce(previous.notchWidth, next.notchWidth, &NotchShelfLayout::notchWidthChanged);
    announce(previous.notchHeight, next.notchHeight, &NotchShelfLayout::notchHeightChanged);
    announce(previous.topRadius, next.topRadius, &NotchShelfLayout::topRadiusChanged);
    announce(previous.bottomRadius, next.bottomRadius, &NotchShelfLayout::bottomRadiusChanged);
    announce(previous.cornerRadius, next.cornerRadius, &NotchShelfLayout::cornerRadiusChanged);
    announce(previous.blackOpacity, next.blackOpacity, &NotchShelfLayout::blackOpacityChanged);
    announce(previous.glassOpacity, next.glassOpacity, &NotchShelfLayout::glassOpacityChanged);
    announce(previous.shadowOpacity, next.shadowOpacity, &NotchShelfLayout::shadowOpacityChanged);
    announce(previous.shadowRadius, next.shadowRadius, &NotchShelfLayout::shadowRadiusChanged);
    announce(previous.shadowOffsetY, next.shadowOffsetY, &NotchShelfLayout::shadowOffsetYChanged);
    announce(previous.dropSymbolScale, next.dropSymbolScale, &NotchShelfLayout::dropSymbolScaleChanged);
    announce(previous.itemCountText, next.itemCountText, &NotchShelfLayout::itemCountTextChanged);
    announce(previous.showsClearButton, next.showsClearButton, &NotchShelfLayout::showsClearButtonChanged);
    announce(previous.peekRowHeight, next.peekRowHeight, &NotchShelfLayout::peekRowHeightChanged);
    announce(previous.peekRowTopInset, next.peekRowTopInset, &NotchShelfLayout::peekRowTopInsetChanged);
    announce(previous.toastTopPadding, next.toastTopPadding, &NotchShelfLayout::toastTopPaddingChanged);
    announce(previous.toastSymbol, next.toastSymbol, &NotchShelfLayout::toastSymbolChanged);
    announce(previous.toastAccent, next.toastAccent, &NotchShelfLayout::toastAccentChanged);
}

} // namespace talvo
