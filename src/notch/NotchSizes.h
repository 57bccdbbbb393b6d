#pragma once

#include <QSizeF>
#include <QStringView>

#include <optional>

namespace talvo {

// What the notch's body is showing, in the order the conditions are tried
// (the first that holds wins; last: idle).
enum class NotchBodyState { Greeting, Panel, ShelfStrip, FileDrag, HoverMusicPeek, HoverPeek, MusicPeek, Idle };

// The conditions behind NotchBodyState; each reader works them out its own way.
struct NotchBodyConditions
{
    bool greeting = false;
    bool panel = false;
    bool shelfStrip = false;
    bool fileDrag = false;
    bool hoverPeek = false;
    bool musicPeek = false;
};

// How one reader measures the body. The window controller's outline (hit
// testing and the window's input shape) and the drawn body read the same
// numbers but measure differently in two places, kept apart on purpose.
struct NotchSizeRule
{
    enum class WidgetCounting {
        EveryPiece,    // every non-empty piece of the widget order
        DistinctKnown, // distinct identifiers the panel knows, the only ones that widen it
    };
    WidgetCounting widgetCounting;
    // The floating body takes widths of its own instead of growing from the
    // base width (the camera housing does not show through it).
    bool fixedFloatingWidths;
};

// The screen-dependent part of the body.
struct NotchBodyBase
{
    qreal width = 0;
    qreal height = 0;
    bool floating = false;
};

// What widens the open panel and the shelf strip.
struct NotchBodyContent
{
    bool homeTab = true;
    int widgetCount = 0;
    int itemCount = 0;
};

// The notch's sizes, in points: the single table both the controller's outline
// (NotchGeometry) and the drawn body (NotchShelfLayout) read. The body's size
// per state is the table in NotchSizes.cpp.
namespace NotchSizes {

// The collapsed body.
inline constexpr qreal fallbackBaseWidth = 185; // no camera housing
inline constexpr qreal housingMargin = 4;       // the base width is the housing's plus this
inline constexpr qreal plainScreenBaseHeight = 24;
inline constexpr qreal floatingBaseHeight = 32;
inline constexpr qreal noScreenBaseHeight = 32;
inline constexpr qreal floatingTopOffset = 12;

// The open panel's widths, by the number of widgets.
inline constexpr qreal narrowPanelWidth = 320;
inline constexpr qreal mediumPanelWidth = 590;
inline constexpr qreal widePanelWidth = 860;

// The shelf strip: one item alone, else a margin and a stride per tile.
inline constexpr qreal singleShelfItemWidth = 160;
inline constexpr qreal shelfStripMargin = 60;
inline constexpr qreal shelfTileStride = 85;
inline constexpr int shelfStripMaxTiles = 8;

// The drawn body's radii.
inline constexpr qreal openRadius = 32;
inline constexpr qreal hoverPeekRadius = 18;
inline constexpr qreal musicPeekRadius = 16;
inline constexpr qreal attachedTopRadius = 12;
inline constexpr qreal idleAttachedRadius = 12;
inline constexpr qreal idleFloatingRadius = 16;

// The collapsed body's shadow.
inline constexpr qreal shadowRadius = 8;
inline constexpr qreal shadowOffsetY = 3;

// Content: the now-playing peek's artwork and controls, and how far below the
// base height the toast starts.
inline constexpr qreal peekContentSize = 22;
inline constexpr qreal toastOffset = 8;

// The window controller's outline.
inline constexpr NotchSizeRule outlineRule{NotchSizeRule::WidgetCounting::EveryPiece, true};
// The drawn body.
inline constexpr NotchSizeRule drawnBodyRule{NotchSizeRule::WidgetCounting::DistinctKnown, false};

// The base width: the camera housing's (nothing: no housing) plus the margin.
qreal baseWidth(std::optional<qreal> housingWidth);
// The base height: the screen's top inset (nothing: no screen at all).
qreal baseHeight(bool floating, std::optional<qreal> topSafeAreaInset);
qreal panelWidth(bool homeTab, int widgetCount);
// Whether the panel has a card for this widget identifier.
bool isKnownWidget(QStringView id);
qreal shelfStripWidth(int itemCount);
// Widgets in a comma-separated order, counted as `counting` says.
int countWidgets(QStringView activeWidgetsOrder, NotchSizeRule::WidgetCounting counting);

NotchBodyState bodyState(const NotchBodyConditions &conditions);
QSizeF bodySize(const NotchSizeRule &rule, NotchBodyState state, const NotchBodyBase &base,
                const NotchBodyContent &content = {});

} // namespace NotchSizes

} // namespace talvo
