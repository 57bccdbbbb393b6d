#include "BatteryStatus.h"

#include "platform/PowerSource.h"
#include "platform/QmlInstances.h"

#include <cmath>

namespace talvo {

BatteryStatus::BatteryStatus(PowerSource &source, QObject *parent) : QObject(parent), m_source(source)
{
    connect(&source, &PowerSource::changed, this, &BatteryStatus::changed);
}

BatteryStatus *BatteryStatus::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<BatteryStatus>(qmlEngine);
}

QString BatteryStatus::textFor(double level)
{
    // A hair of slack so that 0.29 reads 29 % and not 28 % (0.29 × 100 is
    // 28.999999999999996 in binary).
    const int percent = int(std::floor(std::clamp(level, 0.0, 1.0) * 100 + 1e-9));
    return tr("%1%").arg(percent);
}

QString BatteryStatus::symbolFor(double level)
{
    if (level > 0.9)
        return QStringLiteral("battery.100");
    if (level > 0.5)
        return QStringLiteral("battery.75");
    if (level > 0.25)
        return QStringLiteral("battery.50");
    if (level > 0.1)
        return QStringLiteral("battery.25");
    return QStringLiteral("battery.0");
}

bool BatteryStatus::shown() const
{
    return m_source.batteryLevel().has_value();
}

double BatteryStatus::level() const
{
    return m_source.batteryLevel().value_or(1.0);
}

} // namespace talvo
