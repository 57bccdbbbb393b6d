#include "WeatherCondition.h"

#include <array>

namespace talvo {

namespace {

struct Row
{
    qint64 first;
    qint64 last;
    const char *icon;
    const char *name;
};

constexpr std::array kRows{
    Row{0, 0, "sun.max.fill", "Clear"},
    Row{1, 3, "cloud.sun.fill", "Cloudy"},
    Row{45, 45, "cloud.fog.fill", "Fog"},
    Row{48, 48, "cloud.fog.fill", "Fog"},
    Row{51, 67, "cloud.rain.fill", "Rain"},
    Row{71, 77, "snow", "Snow"},
    Row{80, 82, "cloud.heavyrain.fill", "Heavy Rain"},
    Row{95, 99, "cloud.bolt.rain.fill", "Storm"},
};

} // namespace

WeatherCondition weatherCondition(qint64 weatherCode)
{
    for (const Row &row : kRows) {
        if (weatherCode >= row.first && weatherCode <= row.last)
            return {QString::fromLatin1(row.icon), QString::fromLatin1(row.name)};
    }
    return {QStringLiteral("cloud.sun.fill"), QStringLiteral("Clear")};
}

} // namespace talvo
