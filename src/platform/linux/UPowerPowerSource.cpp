#include "UPowerPowerSource.h"


#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

#include <cmath>

namespace talvo {

namespace {
const QString kService = QStringLiteral("org.freedesktop.UPower");
const QString kDisplayDevice = QStringLiteral("/org/freedesktop/UPower/devices/DisplayDevice");
const QString kDeviceInterface = QStringLiteral("org.freedesktop.UPower.Device");
const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr int kCallTimeoutMs = 5000;
} // namespace

UPowerPowerSource::UPowerPowerSource(QDBusConnection bus, QObject *parent) : PowerSource(parent), m_bus(std::move(bus))
{
    if (!m_bus.isConnected())
        return;
    m_bus.connect(kService, kDisplayDevice, kPropertiesInterface, QStringLiteral("PropertiesChanged"), this,
                  SLOT(onPropertiesChanged(QString, QVariantMap, QStringList)));
    readAll();
}

std::optional<double> UPowerPowerSource::levelFrom(const QVariantMap &properties)
{
    if (!properties.value(QStringLiteral("IsPresent")).toBool())
        return std::nullopt;
    bool ok = false;
    const double percentage = properties.value(QStringLiteral("Percentage")).toDouble(&ok);
    if (!ok || !std::isfinite(percentage))
        return std::nullopt;
    return std::clamp(percentage / 100.0, 0.0, 1.0);
}

void UPowerPowerSource::readAll()
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kDisplayDevice, kPropertiesInterface,
                                                       QStringLiteral("GetAll"));
    call << kDeviceInterface;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *finished) {
        finished->deleteLater();
        const QDBusPendingReply<QVariantMap> reply = *finished;
        // No UPower (a desktop without one, a container): no battery to show.
        if (reply.isError())
            return;
        apply(reply.value());
    });
}

void UPowerPowerSource::onPropertiesChanged(const QString &interface, const QVariantMap &changed,
                                            const QStringList &invalidated)
{
    if (interface != kDeviceInterface)
        return;
    if (!invalidated.isEmpty()) {
        readAll();
        return;
    }
    apply(changed);
}

void UPowerPowerSource::apply(const QVariantMap &properties)
{
    for (auto it = properties.begin(); it != properties.end(); ++it) {
        const QVariant value = it.value().canConvert<QDBusVariant>() ? it.value().value<QDBusVariant>().variant()
                                                                     : it.value();
        m_properties.insert(it.key(), value);
    }
    const std::optional<double> level = levelFrom(m_properties);
    if (level == m_level)
        return;
    m_level = level;
    emit changed();
}

} // namespace talvo
