#pragma once

#include <QObject>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

namespace talvo {

class ControlBus;
class NotchViewModel;
class NotchWindowController;

// Mirrors the notch's state onto the control bus as read-only values, so that
// tools and the whole-program tests can watch it: the hover, expansion and
// drag flags, the active tab's raw value, the shelf's item count and items (as
// ShelfItem::summary() lines), the outline in Qt's global coordinates
// ([x, y, width, height]) and whether the window lets the pointer through.
// While the open panel exists it reports itself ("panelPresent") and what it
// shows (its own names, such as "panelTrayTitle"). It also takes the bus's
// request for the first-run greeting to the window controller.
//
// Main thread only.
class NotchStatePublisher : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    NotchStatePublisher(NotchViewModel &viewModel, NotchWindowController &controller, ControlBus &bus,
                        QObject *parent = nullptr);

    // QML gets the instance the application built (see QmlInstances.h).
    static NotchStatePublisher *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    // The panel's report: present or gone, and its values by name. Values of
    // a panel that went away are cleared.
    Q_INVOKABLE void setPanelState(bool present, const QVariantMap &values);
    // Values reported by a part of the panel (a card) on its own; cleared
    // with the panel's other values when it goes away.
    Q_INVOKABLE void setPanelValues(const QVariantMap &values);

Q_SIGNALS:
    // The open panel was built, or discarded after a collapse.
    void panelPresentChanged(bool present);

private:
    void publishAll();

    NotchViewModel &m_viewModel;
    NotchWindowController &m_controller;
    ControlBus &m_bus;
    QStringList m_panelKeys;
    QStringList m_partKeys;
    bool m_panelPresent = false;
};

} // namespace talvo
