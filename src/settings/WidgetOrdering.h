#pragma once

#include <QObject>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

namespace talvo {

class HapticFeedback;
class Preferences;
class SoundPlayer;

// The choice and order of the home tab's widgets. The stored text
// "activeWidgetsOrder" is the only state: every operation reads it afresh,
// changes the list and writes the whole text back, so changes made elsewhere
// (the command line, the first-run flow) show at once.
//
// Main thread only.
class WidgetOrdering : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QStringList activeWidgets READ activeWidgets NOTIFY activeWidgetsChanged)
    Q_PROPERTY(QVariantList catalog READ catalog CONSTANT)
public:
    static constexpr int kMinWidgets = 2;
    static constexpr int kMaxWidgets = 3;

    WidgetOrdering(Preferences &preferences, SoundPlayer &sounds, HapticFeedback &haptics, QObject *parent = nullptr);

    // QML gets the instance the application built (see QmlInstances.h).
    static WidgetOrdering *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    // The stored text split at every comma, empty pieces dropped.
    QStringList activeWidgets() const;
    // The selectable widgets in display order: id, title, subtitle, symbol.
    static QVariantList catalog();
    // Symbol and short name of an ordering slot: {symbol, name}.
    Q_INVOKABLE static QVariantMap slotLabel(const QString &id);

    // Adds a widget (a fourth displaces the oldest) or removes it (never below two).
    Q_INVOKABLE void toggleWidget(const QString &id);
    Q_INVOKABLE void moveLeft(int index);
    Q_INVOKABLE void moveRight(int index);
    // A slot dragged over the slot of `target`: the dragged widget takes the
    // target's place. A text that is not an active widget changes nothing.
    Q_INVOKABLE void dropEntered(const QString &target, const QString &dragged);
    // "music,weather,calendar", with the "Glass" sound and a haptic tap.
    Q_INVOKABLE void resetToDefaults();

    // The rules on a list, without storing.
    static QStringList toggled(QStringList list, const QString &id);
    static QStringList moved(QStringList list, int from, int to);
    static QStringList reordered(QStringList list, const QString &target, const QString &dragged);

signals:
    void activeWidgetsChanged();

private:
    void store(const QStringList &list);

    Preferences &m_preferences;
    SoundPlayer &m_sounds;
    HapticFeedback &m_haptics;
};

} // namespace talvo
