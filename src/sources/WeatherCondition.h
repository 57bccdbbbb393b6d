#pragma once

#include <QString>

namespace talvo {

// The symbol and word the weather card shows for a WMO weather interpretation
// code. Codes the table does not know (gaps, negative, too large) read as clear.
struct WeatherCondition
{
    QString icon;
    QString name;

    friend bool operator==(const WeatherCondition &, const WeatherCondition &) = default;
};

WeatherCondition weatherCondition(qint64 weatherCode);

} // namespace talvo
