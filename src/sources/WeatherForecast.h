#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>

namespace talvo {

// The forecast service's request and reply, kept apart from WeatherManager so
// that the exact texts can be checked on their own.

// One reading of the current conditions, ready to show.
struct ForecastReading
{
    QString temperature; // whole degrees in the service's default unit, no unit sign
    QString feelsLike;
    qint64 weatherCode = 0; // WMO weather interpretation code
};

// The shortest decimal text that reads back to the same double, always with a
// fractional part and never in exponent form: 6.9271, 10.0, -0.00001.
// Empty for NaN and infinities.
QString coordinateText(double value);

// "<base>/v1/forecast?latitude=..&longitude=..&current=temperature_2m,apparent_temperature,weather_code".
// Nothing when the parts do not form an http(s) address.
std::optional<QUrl> forecastUrl(const QUrl &serviceBase, double latitude, double longitude);

// A temperature rounded to the nearest whole number, halves away from zero, as
// decimal text ("22", "-3", "0" - never "-0"). Nothing when the rounded value
// does not fit a 64-bit integer (or is not a number).
std::optional<QString> wholeDegreesText(double value);

// Nothing unless the body is a JSON object whose "current" object holds the
// numbers "temperature_2m" and "apparent_temperature" and the integer
// "weather_code", and both temperatures can be written as whole numbers.
std::optional<ForecastReading> parseForecast(const QByteArray &body);

} // namespace talvo
