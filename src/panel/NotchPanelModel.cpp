#include "NotchPanelModel.h"

#include "notch/NotchShelfLayout.h"
#include "notch/NotchSizes.h"

#include <algorithm>

namespace talvo {

QList<NotchPanelModel::Card> NotchPanelModel::cardsFor(const QStringList &ids, bool frameless)
{
    QList<Card> cards;
    const int count = int(ids.size());
    for (int i = 0; i < count; ++i) {
        const QString &id = ids.at(i);
        cards.append(Card{id, NotchSizes::isKnownWidget(id) ? id : QString(), i, count, frameless && i + 1 < count});
    }
    return cards;
}

bool NotchPanelModel::showsTabTitlesFor(bool showTabLabels, int widgetCount)
{
    return showTabLabels && widgetCount > 2;
}

QString NotchPanelModel::trayTitleFor(int itemCount)
{
    if (itemCount <= 0)
        return tr("Tray Dropzone");
    return itemCount == 1 ? tr("1 item") : tr("%1 items").arg(itemCount);
}

QList<qreal> NotchPanelModel::cardWidthsFor(const QList<Card> &cards, qreal rowWidth, qreal spacing)
{
    const int count = int(cards.size());
    if (count == 0)
        return {};
    const int dividers = int(std::ranges::count_if(cards, &Card::dividerAfter));
    const qreal available = std::max<qreal>(
        0, rowWidth - spacing * (count + dividers - 1) - kDividerWidth * dividers);
    const int weatherCards = int(std::ranges::count(cards, QStringLiteral("weather"), &Card::kind));
    qreal share = available / count;
    qreal weatherWidth = share;
    if (weatherCards > 0 && share > kWeatherMaxWidth) {
        weatherWidth = kWeatherMaxWidth;
        const int others = count - weatherCards;
        share = others > 0 ? (available - kWeatherMaxWidth * weatherCards) / others : 0;
    }
    QList<qreal> widths;
    for (const Card &card : cards)
        widths.append(card.kind == u"weather" ? weatherWidth : share);
    return widths;
}

QVariantList NotchPanelModel::cardWidths(qreal rowWidth, qreal spacing) const
{
    QVariantList list;
    for (qreal width : cardWidthsFor(m_cards, rowWidth, spacing))
        list.append(width);
    return list;
}

NotchPanelModel::NotchPanelModel(QObject *parent) : QObject(parent)
{
    recompute();
}

QVariantList NotchPanelModel::cards() const
{
    QVariantList list;
    for (const Card &card : m_cards) {
        list.append(QVariantMap{{QStringLiteral("id"), card.id},
                                {QStringLiteral("kind"), card.kind},
                                {QStringLiteral("index"), card.index},
                                {QStringLiteral("count"), card.count},
                                {QStringLiteral("dividerAfter"), card.dividerAfter}});
    }
    return list;
}

template <typename T>
void NotchPanelModel::setInput(T &field, const T &value)
{
    if (field == value)
        return;
    field = value;
    recompute();
    emit inputsChanged();
    emit outputsChanged();
}

void NotchPanelModel::setActiveWidgetsOrder(const QString &order)
{
    setInput(m_activeWidgetsOrder, order);
}

void NotchPanelModel::setShowTabLabels(bool value)
{
    setInput(m_showTabLabels, value);
}

void NotchPanelModel::setEnableFramelessWidgets(bool value)
{
    setInput(m_enableFramelessWidgets, value);
}

void NotchPanelModel::setItemCount(int count)
{
    setInput(m_itemCount, count);
}

void NotchPanelModel::setUpdateAvailable(bool value)
{
    setInput(m_updateAvailable, value);
}

void NotchPanelModel::recompute()
{
    m_ids = NotchShelfLayout::splitWidgetIDs(m_activeWidgetsOrder);
    m_cards = cardsFor(m_ids, m_enableFramelessWidgets);
}

} // namespace talvo
