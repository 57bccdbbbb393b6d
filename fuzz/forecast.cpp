// The forecast service's reply, and the request built from a position.

#include "FuzzSupport.h"
#include "sources/WeatherForecast.h"

#include <QUrlQuery>

#include <cmath>
#include <cstring>

using namespace talvo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (const auto reading = parseForecast(fuzz::bytes(data, size))) {
        bool ok = false;
        reading->temperature.toLongLong(&ok);
        FUZZ_CHECK(ok);
        reading->feelsLike.toLongLong(&ok);
        FUZZ_CHECK(ok);
    }

    // Any two doubles as a position: the address is either refused or names
    // exactly those coordinates.
    if (size >= 2 * sizeof(double)) {
        double latitude = 0;
        double longitude = 0;
        std::memcpy(&latitude, data, sizeof latitude);
        std::memcpy(&longitude, data + sizeof latitude, sizeof longitude);
        const auto url = forecastUrl(QUrl(QStringLiteral("http://127.0.0.1:8080/base/")), latitude, longitude);
        FUZZ_CHECK(url.has_value() == (std::isfinite(latitude) && std::isfinite(longitude)));
        if (url) {
            const QUrlQuery query(*url);
            FUZZ_CHECK(query.queryItemValue(QStringLiteral("latitude")).toDouble() == latitude);
            FUZZ_CHECK(query.queryItemValue(QStringLiteral("longitude")).toDouble() == longitude);
        }
    }
    return 0;
}
