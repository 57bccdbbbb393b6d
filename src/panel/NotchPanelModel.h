#pragma once

#include <QObject>
#include <QRectF>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace talvo {

// The open panel's layout rules: which cards the home tab shows and where the
// dividers go, whether the tab strip shows titles, the tray's title and the
// update banner. The panel view binds the inputs and lays out the outputs.
//
//     NotchPanelModel {
//         activeWidgetsOrder: ...; showTabLabels: ...; enableFramelessWidgets: ...
//         itemCount: NotchViewModel.items.count; updateAvailable: TalvoUpdater.updateAvailable
//     }
//
// Outputs announce themselves through one signal, `outputsChanged`, emitted
// after every real change of an input. Main thread only.
class NotchPanelModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QString activeWidgetsOrder READ activeWidgetsOrder WRITE setActiveWidgetsOrder NOTIFY inputsChanged)
    Q_PROPERTY(bool showTabLabels READ showTabLabels WRITE setShowTabLabels NOTIFY inputsChanged)
    Q_PROPERTY(bool enableFramelessWidgets READ enableFramelessWidgets WRITE setEnableFramelessWidgets NOTIFY inputsChanged)
    Q_PROPERTY(int itemCount READ itemCount WRITE setItemCount NOTIFY inputsChanged)
    Q_PROPERTY(bool updateAvailable READ updateAvailable WRITE setUpdateAvailable NOTIFY inputsChanged)

    Q_PROPERTY(QStringList activeWidgetIDs READ activeWidgetIDs NOTIFY outputsChanged)
    // One entry per card, in order: {id, kind, index, count, dividerAfter}.
    // `kind` is the id when the panel knows it, else empty (an empty slot).
    Q_PROPERTY(QVariantList cards READ cards NOTIFY outputsChanged)
    Q_PROPERTY(bool showsWidgetsEmptyState READ showsWidgetsEmptyState NOTIFY outputsChanged)
    Q_PROPERTY(bool showsTabTitles READ showsTabTitles NOTIFY outputsChanged)
    Q_PROPERTY(QString trayTitle READ trayTitle NOTIFY outputsChanged)
    Q_PROPERTY(bool showsClearAll READ showsClearAll NOTIFY outputsChanged)
    Q_PROPERTY(bool showsUpdateBanner READ showsUpdateBanner NOTIFY outputsChanged)

public:
    struct Card
    {
        QString id;
        QString kind;
        int index = 0;
        int count = 0;
        bool dividerAfter = false;
        bool operator==(const Card &) const = default;
    };

    // Cards are 100 high; the weather card is at most this wide, the others
    // share what is left.
    static constexpr qreal kCardHeight = 100;
    static constexpr qreal kWeatherMaxWidth = 230;
    static constexpr qreal kDividerWidth = 0.5;

    static QList<Card> cardsFor(const QStringList &ids, bool frameless);
    static bool showsTabTitlesFor(bool showTabLabels, int widgetCount);
    static QString trayTitleFor(int itemCount);
    // The cards' widths in a row `rowWidth` wide with `spacing` between
    // neighbours (a divider is 0.5 wide with spacing on both sides): equal
    // shares, except that the weather card takes at most kWeatherMaxWidth and
    // leaves the rest to the others.
    static QList<qreal> cardWidthsFor(const QList<Card> &cards, qreal rowWidth, qreal spacing);
    Q_INVOKABLE QVariantList cardWidths(qreal rowWidth, qreal spacing) const;

    explicit NotchPanelModel(QObject *parent = nullptr);

    QString activeWidgetsOrder() const { return m_activeWidgetsOrder; }
    void setActiveWidgetsOrder(const QString &order);
    bool showTabLabels() const { return m_showTabLabels; }
    void setShowTabLabels(bool value);
    bool enableFramelessWidgets() const { return m_enableFramelessWidgets; }
    void setEnableFramelessWidgets(bool value);
    int itemCount() const { return m_itemCount; }
    void setItemCount(int count);
    bool updateAvailable() const { return m_updateAvailable; }
    void setUpdateAvailable(bool value);

    QStringList activeWidgetIDs() const { return m_ids; }
    QList<Card> cardList() const { return m_cards; }
    QVariantList cards() const;
    bool showsWidgetsEmptyState() const { return m_ids.isEmpty(); }
    bool showsTabTitles() const { return showsTabTitlesFor(m_showTabLabels, int(m_ids.size())); }
    QString trayTitle() const { return trayTitleFor(m_itemCount); }
    bool showsClearAll() const { return m_itemCount > 0; }
    bool showsUpdateBanner() const { return m_updateAvailable; }

signals:
    void inputsChanged();
    void outputsChanged();

private:
    template <typename T>
    void setInput(T &field, const T &value);
    void recompute();

    QString m_activeWidgetsOrder = QStringLiteral("music,weather,calendar");
    bool m_showTabLabels = true;
    bool m_enableFramelessWidgets = true;
    int m_itemCount = 0;
    bool m_updateAvailable = false;

    QStringList m_ids;
    QList<Card> m_cards;
};

} // namespace talvo
