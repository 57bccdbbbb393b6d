#pragma once

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

namespace talvo {

class MicManager;
class SystemActions;
class WorkQueue;

// The shortcuts tab's "SYSTEM ACTIONS" grid: its buttons in order (two
// columns, three rows, the last spanning both) and what each runs. The
// desktop's actions run on a work queue; a failure writes one log line naming
// the action and shows nothing. The microphone button follows the
// microphone's mute state wherever it changes.
//
// Main thread only.
class ShortcutActionsModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    // One entry per button: {id, title, symbol, isRed, spansRow}.
    Q_PROPERTY(QVariantList buttons READ buttons NOTIFY buttonsChanged)
public:
    ShortcutActionsModel(SystemActions &actions, WorkQueue &queue, MicManager &mic, QObject *parent = nullptr);

    // QML gets the instance the application built (see QmlInstances.h).
    static ShortcutActionsModel *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    QVariantList buttons() const;
    // Runs the button's action: "lock", "sleep", "mic", "darkMode", "emptyTrash".
    Q_INVOKABLE void trigger(const QString &id);

signals:
    void buttonsChanged();

private:
    SystemActions &m_actions;
    WorkQueue &m_queue;
    MicManager &m_mic;
};

} // namespace talvo
