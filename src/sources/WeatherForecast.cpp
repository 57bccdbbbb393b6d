#include "WeatherForecast.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <charconv>
#include <cmath>

namespace talvo {

namespace {

// 2^63: the first double beyond the range of a 64-bit integer. Every double
// below it (and at or above -2^63) converts without overflow.
constexpr double kInt64Limit = 9223372036854775808.0;

bool fitsInt64(double value)
{
    return value >= -kInt64Limit && value < kInt64Limit;
}

} // namespace

QString coordinateText(double value)
{
    if (!std::isfinite(value))
        return {};
    // Fixed notation keeps the shortest round-trip digits without switching to
    // an exponent for small values, which the service would not read as intended.
    char buffer[400];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (ec != std::errc())
        return {};
    QString text = QString::fromLatin1(buffer, end - buffer);
    if (!text.contains(QLatin1Char('.')))
        text += QLatin1String(".0");
    return text;
}

std::optional<QUrl> forecastUrl(const QUrl &serviceBase, double latitude, double longitude)
{
    const QString lat = coordinateText(latitude);
    const QString lon = coordinateText(longitude);
    if (lat.isEmpty() || lon.isEmpty())
        return std::nullopt;
    QString base = serviceBase.toString(QUrl::FullyEncoded);
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    const QString text = base + QLatin1String("/v1/forecast?latitude=") + lat + QLatin1String("&longitude=") + lon
        + QLatin1String("&current=temperature_2m,apparent_temperature,weather_code");
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("https") && scheme != QLatin1String("http")))
        return std::nullopt;
    return url;
}

std::optional<QString> wholeDegreesText(double value)
{
    const double rounded = std::round(value); // halves away from zero
    if (!fitsInt64(rounded)) // also rejects NaN
        return std::nullopt;
    // The integer has no sign of its own for zero, so -0.4 reads "0".
    return QString::number(static_cast<qint64>(rounded));
}

std::optional<ForecastReading> parseForecast(const QByteArray &body)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonValue current = document.object().value(QLatin1String("current"));
    if (!current.isObject())
        return std::nullopt;
    const QJsonObject fields = current.toObject();
    const QJsonValue temperature = fields.value(QLatin1String("temperature_2m"));
    const QJsonValue apparent = fields.value(QLatin1String("apparent_temperature"));
    const QJsonValue code = fields.value(QLatin1String("weather_code"));
    if (!temperature.isDouble() || !apparent.isDouble() || !code.isDouble())
        return std::nullopt;
    const double codeValue = code.toDouble();
    if (!fitsInt64(codeValue) || std::trunc(codeValue) != codeValue)
        return std::nullopt;

    auto temperatureText = wholeDegreesText(temperature.toDouble());
    auto feelsLikeText = wholeDegreesText(apparent.toDouble());
    if (!temperatureText || !feelsLikeText)
        return std::nullopt;
    return ForecastReading{*temperatureText, *feelsLikeText, code.toInteger()};
}

} // namespace talvo
