#pragma once

#include "platform/PowerSource.h"

#include <QDBusConnection>
#include <QVariantMap>

namespace talvo {

// The battery as UPower's display device reports it on the system bus
// (org.freedesktop.UPower, /org/freedesktop/UPower/devices/DisplayDevice):
// Percentage while IsPresent holds, followed through PropertiesChanged.
// Without UPower, or while the device says there is no battery, there is no
// level. The first reading arrives a little after construction.
class UPowerPowerSource final : public PowerSource
{
    Q_OBJECT
public:
    explicit UPowerPowerSource(QDBusConnection bus = QDBusConnection::systemBus(), QObject *parent = nullptr);

    std::optional<double> batteryLevel() const override { return m_level; }

    // The level the device's properties describe; nothing without a battery.
    static std::optional<double> levelFrom(const QVariantMap &properties);

private slots:
    void onPropertiesChanged(const QString &interface, const QVariantMap &changed, const QStringList &invalidated);

private:
    void readAll();
    void apply(const QVariantMap &properties);

    QDBusConnection m_bus;
    QVariantMap m_properties;
    std::optional<double> m_level;
};

} // namespace talvo
