#include "NotchStatePublisher.h"

#include "NotchViewModel.h"
#include "NotchWindowController.h"
#include "platform/ControlBus.h"
#include "platform/QmlInstances.h"

#include <utility>

namespace talvo {

NotchStatePublisher::NotchStatePublisher(NotchViewModel &viewModel, NotchWindowController &controller,
                                         ControlBus &bus, QObject *parent)
    : QObject(parent), m_viewModel(viewModel), m_controller(controller), m_bus(bus)
{
    // The bus announces only real changes, so one handler for all is enough.
    for (auto signal : {&NotchViewModel::isHoveringChanged, &NotchViewModel::isFullyExpandedChanged,
                        &NotchViewModel::activeTabChanged, &NotchViewModel::isFileDragActiveChanged,
                        &NotchViewModel::isDragTargetActiveChanged, &NotchViewModel::isShelfItemDragActiveChanged,
                        &NotchViewModel::isForcedOpenChanged, &NotchViewModel::isOnboardingGreetingActiveChanged,
                        &NotchViewModel::itemsChanged, &NotchViewModel::toastMessageChanged})
        connect(&viewModel, signal, this, &NotchStatePublisher::publishAll);
    connect(&controller, &NotchWindowController::screenNotchRectChanged, this, &NotchStatePublisher::publishAll);
    connect(&controller, &NotchWindowController::ignoresMouseEventsChanged, this,
            &NotchStatePublisher::publishAll);
    connect(&bus, &ControlBus::greetingRequested, &controller, &NotchWindowController::showOnboardingGreeting);
    publishAll();
    m_bus.publish(QStringLiteral("panelPresent"), false);
}

NotchStatePublisher *NotchStatePublisher::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<NotchStatePublisher>(qmlEngine);
}

void NotchStatePublisher::setPanelState(bool present, const QVariantMap &values)
{
    m_bus.publish(QStringLiteral("panelPresent"), present);
    for (const QString &key : std::as_const(m_panelKeys)) {
        if (!values.contains(key))
            m_bus.publish(key, QString());
    }
    m_panelKeys = values.keys();
    for (auto it = values.begin(); it != values.end(); ++it)
        m_bus.publish(it.key(), it.value());
    if (!present) {
        for (const QString &key : std::exchange(m_partKeys, {}))
            m_bus.publish(key, QString());
    }
    if (std::exchange(m_panelPresent, present) != present)
        Q_EMIT panelPresentChanged(present);
}

void NotchStatePublisher::setPanelValues(const QVariantMap &values)
{
    for (auto it = values.begin(); it != values.end(); ++it) {
        if (!m_partKeys.contains(it.key()))
            m_partKeys.append(it.key());
        m_bus.publish(it.key(), it.value());
    }
}

void NotchStatePublisher::publishAll()
{
    const NotchViewModel &vm = m_viewModel;
    m_bus.publish(QStringLiteral("isHovering"), vm.isHovering());
    m_bus.publish(QStringLiteral("isFullyExpanded"), vm.isFullyExpanded());
    m_bus.publish(QStringLiteral("activeTab"), rawValue(vm.activeTab()));
    m_bus.publish(QStringLiteral("isFileDragActive"), vm.isFileDragActive());
    m_bus.publish(QStringLiteral("isDragTargetActive"), vm.isDragTargetActive());
    m_bus.publish(QStringLiteral("isShelfItemDragActive"), vm.isShelfItemDragActive());
    m_bus.publish(QStringLiteral("isForcedOpen"), vm.isForcedOpen());
    m_bus.publish(QStringLiteral("toastMessage"), vm.toastMessage());
    m_bus.publish(QStringLiteral("isOnboardingGreetingActive"), vm.isOnboardingGreetingActive());
    m_bus.publish(QStringLiteral("itemCount"), int(vm.itemList().size()));
    QStringList items;
    for (const ShelfItem &item : vm.itemList())
        items.append(item.summary());
    m_bus.publish(QStringLiteral("items"), items);
    const QRectF rect = m_controller.screenNotchRect();
    m_bus.publish(QStringLiteral("notchRect"),
                  QVariant::fromValue(QList<double>{rect.x(), rect.y(), rect.width(), rect.height()}));
    m_bus.publish(QStringLiteral("ignoresMouseEvents"), m_controller.ignoresMouseEvents());
}

} // namespace talvo
