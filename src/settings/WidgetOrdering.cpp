#include "WidgetOrdering.h"

#include "platform/HapticFeedback.h"
#include "platform/QmlInstances.h"
#include "platform/SoundPlayer.h"
#include "preferences/Preferences.h"

#include <QCoreApplication>

#include <array>

namespace talvo {

namespace {

struct CatalogEntry
{
    const char *id;
    const char *title;
    const char *subtitle;
    const char *symbol;
    const char *shortName;
};

constexpr std::array kCatalog{
    CatalogEntry{"music", QT_TRANSLATE_NOOP("WidgetOrdering", "Music Player"),
                 QT_TRANSLATE_NOOP("WidgetOrdering", "Control Spotify and other players"), "music.note",
                 QT_TRANSLATE_NOOP("WidgetOrdering", "Music")},
    CatalogEntry{"weather", QT_TRANSLATE_NOOP("WidgetOrdering", "Weather Info"),
                 QT_TRANSLATE_NOOP("WidgetOrdering", "Current forecast & temperatures"), "cloud.sun.fill",
                 QT_TRANSLATE_NOOP("WidgetOrdering", "Weather")},
    CatalogEntry{"calendar", QT_TRANSLATE_NOOP("WidgetOrdering", "Calendar Agenda"),
                 QT_TRANSLATE_NOOP("WidgetOrdering", "Weekly events & schedules list"), "calendar",
                 QT_TRANSLATE_NOOP("WidgetOrdering", "Calendar")},
    CatalogEntry{"clipboard", QT_TRANSLATE_NOOP("WidgetOrdering", "Clipboard History"),
                 QT_TRANSLATE_NOOP("WidgetOrdering", "List of recently copied snippets"), "doc.on.clipboard",
                 QT_TRANSLATE_NOOP("WidgetOrdering", "Clipboard")},
    CatalogEntry{"recentFiles", QT_TRANSLATE_NOOP("WidgetOrdering", "Recent Files"),
                 QT_TRANSLATE_NOOP("WidgetOrdering", "Drag & drop recent Downloads"), "folder.fill",
                 QT_TRANSLATE_NOOP("WidgetOrdering", "Recent")},
    CatalogEntry{"colorPicker", QT_TRANSLATE_NOOP("WidgetOrdering", "Color Picker"),
                 QT_TRANSLATE_NOOP("WidgetOrdering", "Sample and save hex screen colors"), "eyedropper",
                 QT_TRANSLATE_NOOP("WidgetOrdering", "Color Picker")},
    CatalogEntry{"scratchpad", QT_TRANSLATE_NOOP("WidgetOrdering", "Scratchpad"),
                 QT_TRANSLATE_NOOP("WidgetOrdering", "Write temporary ideas and thoughts"), "note.text",
                 QT_TRANSLATE_NOOP("WidgetOrdering", "Notepad")},
};

QString translated(const char *text)
{
    return QCoreApplication::translate("WidgetOrdering", text);
}

} // namespace

WidgetOrdering::WidgetOrdering(Preferences &preferences, SoundPlayer &sounds, HapticFeedback &haptics,
                               QObject *parent)
    : QObject(parent), m_preferences(preferences), m_sounds(sounds), m_haptics(haptics)
{
    connect(&m_preferences, &Preferences::keyChanged, this, [this](const QString &key) {
        if (key == QLatin1String(PrefKey::activeWidgetsOrder.name))
            emit activeWidgetsChanged();
    });
}

WidgetOrdering *WidgetOrdering::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<WidgetOrdering>(qmlEngine);
}

QStringList WidgetOrdering::activeWidgets() const
{
    return m_preferences.value(PrefKey::activeWidgetsOrder).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

QVariantList WidgetOrdering::catalog()
{
    QVariantList result;
    for (const CatalogEntry &entry : kCatalog)
        result.append(QVariantMap{{QStringLiteral("id"), QString::fromLatin1(entry.id)},
                                  {QStringLiteral("title"), translated(entry.title)},
                                  {QStringLiteral("subtitle"), translated(entry.subtitle)},
                                  {QStringLiteral("symbol"), QString::fromLatin1(entry.symbol)}});
    return result;
}

QVariantMap WidgetOrdering::slotLabel(const QString &id)
{
    for (const CatalogEntry &entry : kCatalog) {
        if (id == QLatin1String(entry.id))
            return {{QStringLiteral("symbol"), QString::fromLatin1(entry.symbol)},
                    {QStringLiteral("name"), translated(entry.shortName)}};
    }
    return {{QStringLiteral("symbol"), QStringLiteral("square.grid.2x2")},
            {QStringLiteral("name"), QCoreApplication::translate("WidgetOrdering", "Widget")}};
}

QStringList WidgetOrdering::toggled(QStringList list, const QString &id)
{
    if (!list.contains(id)) {
        if (list.size() >= kMaxWidgets)
            list.removeFirst();
        list.append(id);
    } else if (list.size() >= kMaxWidgets) {
        list.removeAll(id);
    }
    return list;
}

QStringList WidgetOrdering::moved(QStringList list, int from, int to)
{
    if (from >= 0 && from < list.size() && to >= 0 && to < list.size())
        list.move(from, to);
    return list;
}

QStringList WidgetOrdering::reordered(QStringList list, const QString &target, const QString &dragged)
{
    if (dragged == target)
        return list;
    const qsizetype from = list.indexOf(dragged);
    const qsizetype to = list.indexOf(target);
    if (from < 0 || to < 0)
        return list;
    list.removeAt(from);
    list.insert(to, dragged);
    return list;
}

void WidgetOrdering::toggleWidget(const QString &id)
{
    store(toggled(activeWidgets(), id));
}

void WidgetOrdering::moveLeft(int index)
{
    store(moved(activeWidgets(), index, index - 1));
}

void WidgetOrdering::moveRight(int index)
{
    store(moved(activeWidgets(), index, index + 1));
}

void WidgetOrdering::dropEntered(const QString &target, const QString &dragged)
{
    store(reordered(activeWidgets(), target, dragged));
}

void WidgetOrdering::resetToDefaults()
{
    store(QString::fromUtf8(PrefKey::activeWidgetsOrder.defaultValue).split(QLatin1Char(',')));
    m_sounds.play(QStringLiteral("Glass"));
    m_haptics.perform();
}

void WidgetOrdering::store(const QStringList &list)
{
    const QString text = list.join(QLatin1Char(','));
    if (text != m_preferences.value(PrefKey::activeWidgetsOrder))
        m_preferences.setObject(text, QString::fromLatin1(PrefKey::activeWidgetsOrder.name));
}

} // namespace talvo
