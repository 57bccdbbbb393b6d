#include "NotchSizes.h"

#include <QString>

#include <algorithm>
#include <array>
#include <bit>

namespace talvo::NotchSizes {

namespace {

enum class Width {
    Fixed,      // `amount`
    Panel,      // panelWidth()
    ShelfStrip, // shelfStripWidth()
    Base,       // the base width plus `amount`; floating (fixed widths): `floating`
};

struct Row
{
    Width width;
    qreal amount;
    qreal floating;
    qreal heightAboveBase;
};

// One row per NotchBodyState, in its order.
constexpr std::array<Row, 8> kBody{{
    {Width::Fixed, 320, 0, 65},     // Greeting
    {Width::Panel, 0, 0, 142},      // Panel
    {Width::ShelfStrip, 0, 0, 122}, // ShelfStrip
    {Width::Fixed, 320, 0, 77},     // FileDrag
    {Width::Base, 170, 250, 10},    // HoverMusicPeek
    {Width::Base, 50, 160, 8},      // HoverPeek
    {Width::Base, 140, 210, 6},     // MusicPeek
    {Width::Base, 0, 130, 0},       // Idle
}};
static_assert(kBody.size() == std::size_t(NotchBodyState::Idle) + 1);

// The panel's widgets; no other identifier widens it.
constexpr std::array<QStringView, 7> kKnownWidgets{u"weather",     u"calendar",    u"music",     u"clipboard",
                                                   u"recentFiles", u"colorPicker", u"scratchpad"};

} // namespace

qreal baseWidth(std::optional<qreal> housingWidth)
{
    return housingWidth ? std::max<qreal>(*housingWidth, 0) + housingMargin : fallbackBaseWidth;
}

qreal baseHeight(bool floating, std::optional<qreal> topSafeAreaInset)
{
    if (floating)
        return floatingBaseHeight;
    if (!topSafeAreaInset)
        return noScreenBaseHeight;
    return *topSafeAreaInset > 0 ? *topSafeAreaInset : plainScreenBaseHeight;
}

qreal panelWidth(bool homeTab, int widgetCount)
{
    if (!homeTab)
        return widgetCount >= 3 ? widePanelWidth : mediumPanelWidth;
    if (widgetCount <= 1)
        return narrowPanelWidth;
    return widgetCount == 2 ? mediumPanelWidth : widePanelWidth;
}

qreal shelfStripWidth(int itemCount)
{
    if (itemCount < 2)
        return singleShelfItemWidth;
    return shelfStripMargin + shelfTileStride * std::min(itemCount, shelfStripMaxTiles);
}

bool isKnownWidget(QStringView id)
{
    return std::find(kKnownWidgets.begin(), kKnownWidgets.end(), id) != kKnownWidgets.end();
}

int countWidgets(QStringView activeWidgetsOrder, NotchSizeRule::WidgetCounting counting)
{
    int pieces = 0;
    unsigned known = 0; // one bit per kKnownWidgets entry
    for (QStringView piece : activeWidgetsOrder.tokenize(u',', Qt::SkipEmptyParts)) {
        ++pieces;
        const auto found = std::find(kKnownWidgets.begin(), kKnownWidgets.end(), piece);
        if (found != kKnownWidgets.end())
            known |= 1u << (found - kKnownWidgets.begin());
    }
    return counting == NotchSizeRule::WidgetCounting::EveryPiece ? pieces : std::popcount(known);
}

NotchBodyState bodyState(const NotchBodyConditions &c)
{
    if (c.greeting)
        return NotchBodyState::Greeting;
    if (c.panel)
        return NotchBodyState::Panel;
    if (c.shelfStrip)
        return NotchBodyState::ShelfStrip;
    if (c.fileDrag)
        return NotchBodyState::FileDrag;
    if (c.hoverPeek)
        return c.musicPeek ? NotchBodyState::HoverMusicPeek : NotchBodyState::HoverPeek;
    return c.musicPeek ? NotchBodyState::MusicPeek : NotchBodyState::Idle;
}

QSizeF bodySize(const NotchSizeRule &rule, NotchBodyState state, const NotchBodyBase &base,
                const NotchBodyContent &content)
{
    const Row &row = kBody[std::size_t(state)];
    qreal width = row.amount;
    switch (row.width) {
    case Width::Fixed:
        break;
    case Width::Panel:
        width = panelWidth(content.homeTab, content.widgetCount);
        break;
    case Width::ShelfStrip:
        width = shelfStripWidth(content.itemCount);
        break;
    case Width::Base:
        width = base.floating && rule.fixedFloatingWidths ? row.floating : base.width + row.amount;
        break;
    }
    return {width, base.height + row.heightAboveBase};
}

} // namespace talvo::NotchSizes
