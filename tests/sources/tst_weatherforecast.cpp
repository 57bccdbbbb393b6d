#include "sources/WeatherCondition.h"
#include "sources/WeatherForecast.h"

#include <QTest>

#include <limits>

using namespace talvo;

class TestWeatherForecast : public QObject
{
    Q_OBJECT
private slots:
    void coordinateText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole number keeps a fraction") << 10.0 << QStringLiteral("10.0");
        QTest::newRow("tiny value stays decimal") << 0.00001 << QStringLiteral("0.00001");
        QTest::newRow("needs every digit") << 0.1 + 0.2 << QStringLiteral("0.30000000000000004");
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << QString();
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << QString();
    }
    void coordinateText()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(talvo::coordinateText(value), text);
        if (!text.isEmpty())
            QCOMPARE(text.toDouble(), value);
    }

    void forecastUrl_data()
    {
        QTest::addColumn<QUrl>("base");
        QTest::addColumn<double>("latitude");
        QTest::addColumn<double>("longitude");
        QTest::addColumn<QString>("expected");
        const QString query = QStringLiteral("&current=temperature_2m,apparent_temperature,weather_code");
        QTest::newRow("base with port and trailing slash")
            << QUrl(QStringLiteral("http://127.0.0.1:8080/")) << -1.0 << 36.8
            << QStringLiteral("http://127.0.0.1:8080/v1/forecast?latitude=-1.0&longitude=36.8") + query;
        QTest::newRow("base with a path prefix")
            << QUrl(QStringLiteral("https://proxy.example/weather")) << 52.52 << 13.405
            << QStringLiteral("https://proxy.example/weather/v1/forecast?latitude=52.52&longitude=13.405") + query;
        QTest::newRow("no scheme") << QUrl(QStringLiteral("forecast.example")) << 1.0 << 1.0 << QString();
        QTest::newRow("empty base") << QUrl() << 1.0 << 1.0 << QString();
        QTest::newRow("NaN position") << QUrl(QStringLiteral("https://forecast.example"))
                                      << std::numeric_limits<double>::quiet_NaN() << 1.0 << QString();
    }
    void forecastUrl()
    {
        QFETCH(QUrl, base);
        QFETCH(double, latitude);
        QFETCH(double, longitude);
        QFETCH(QString, expected);
        const std::optional<QUrl> url = talvo::forecastUrl(base, latitude, longitude);
        QCOMPARE(url.has_value(), !expected.isEmpty());
        if (url)
            QCOMPARE(url->toString(QUrl::FullyEncoded), expected);
    }

    void wholeDegrees_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("half rounds up") << 21.5 << QStringLiteral("22");
        QTest::newRow("negative half away from zero") << -2.5 << QStringLiteral("-3");
        QTest::newRow("small negative is plain zero") << -0.4 << QStringLiteral("0");
        QTest::newRow("negative zero") << -0.0 << QStringLiteral("0");
        QTest::newRow("lowest 64-bit value") << -9223372036854775808.0 << QStringLiteral("-9223372036854775808");
        QTest::newRow("just past the top") << 9223372036854775808.0 << QString();
        QTest::newRow("far out of range") << -1e300 << QString();
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << QString();
    }
    void wholeDegrees()
    {
        QFETCH(double, value);
        QTEST(wholeDegreesText(value).value_or(QString()), "text");
    }

    void parseForecast_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("temperature");
        QTest::addColumn<QString>("feelsLike");
        QTest::addColumn<qint64>("code");
        QTest::newRow("full reply")
            << QByteArray(R"({"latitude":6.93,"current_units":{"temperature_2m":"°C"},)"
                          R"("current":{"time":"2026-03-02T09:00","interval":900,"temperature_2m":29.4,)"
                          R"("apparent_temperature":34.6,"weather_code":3}})")
            << QStringLiteral("29") << QStringLiteral("35") << qint64(3);
        QTest::newRow("code written as a whole double")
            << QByteArray(R"({"current":{"temperature_2m":1,"apparent_temperature":1,"weather_code":61.0}})")
            << QStringLiteral("1") << QStringLiteral("1") << qint64(61);
    }
    void parseForecast()
    {
        QFETCH(QByteArray, body);
        const std::optional<ForecastReading> reading = talvo::parseForecast(body);
        QVERIFY(reading);
        QTEST(reading->temperature, "temperature");
        QTEST(reading->feelsLike, "feelsLike");
        QTEST(reading->weatherCode, "code");
    }

    void unreadableForecast_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("not JSON") << QByteArray("<html>Bad gateway</html>");
        QTest::newRow("cut short") << QByteArray("{\"current\":{\"temperature_2m\":1,\"appar");
        QTest::newRow("top level array") << QByteArray(R"([{"current":{}}])");
        QTest::newRow("no current") << QByteArray(R"({"error":true,"reason":"Latitude must be in range"})");
        QTest::newRow("current is not an object")
            << QByteArray(R"({"current":[1,2,3]})");
        QTest::newRow("no weather code") << QByteArray(R"({"current":{"temperature_2m":21.5,"apparent_temperature":20}})");
        QTest::newRow("temperature as text")
            << QByteArray(R"({"current":{"temperature_2m":"21","apparent_temperature":20,"weather_code":1}})");
        QTest::newRow("boolean code")
            << QByteArray(R"({"current":{"temperature_2m":1,"apparent_temperature":1,"weather_code":true}})");
        QTest::newRow("fractional code")
            << QByteArray(R"({"current":{"temperature_2m":1,"apparent_temperature":1,"weather_code":2.5}})");
        QTest::newRow("temperature beyond 64 bits")
            << QByteArray(R"({"current":{"temperature_2m":1e300,"apparent_temperature":1,"weather_code":0}})");
    }
    void unreadableForecast()
    {
        QFETCH(QByteArray, body);
        QVERIFY(!talvo::parseForecast(body));
    }

    void conditionTable_data()
    {
        QTest::addColumn<qint64>("code");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QString>("name");
        // Each range's edges, codes between ranges and beyond them.
        const struct
        {
            qint64 code;
            const char *icon;
            const char *name;
        } rows[] = {
            {0, "sun.max.fill", "Clear"},          {1, "cloud.sun.fill", "Cloudy"},
            {3, "cloud.sun.fill", "Cloudy"},       {4, "cloud.sun.fill", "Clear"},
            {45, "cloud.fog.fill", "Fog"},         {47, "cloud.sun.fill", "Clear"},
            {48, "cloud.fog.fill", "Fog"},         {50, "cloud.sun.fill", "Clear"},
            {51, "cloud.rain.fill", "Rain"},       {67, "cloud.rain.fill", "Rain"},
            {68, "cloud.sun.fill", "Clear"},       {70, "cloud.sun.fill", "Clear"},
            {77, "snow", "Snow"},                  {78, "cloud.sun.fill", "Clear"},
            {80, "cloud.heavyrain.fill", "Heavy Rain"}, {82, "cloud.heavyrain.fill", "Heavy Rain"},
            {83, "cloud.sun.fill", "Clear"},       {94, "cloud.sun.fill", "Clear"},
            {95, "cloud.bolt.rain.fill", "Storm"}, {99, "cloud.bolt.rain.fill", "Storm"},
            {100, "cloud.sun.fill", "Clear"},      {-3, "cloud.sun.fill", "Clear"},
            {std::numeric_limits<qint64>::min(), "cloud.sun.fill", "Clear"},
        };
        for (const auto &row : rows)
            QTest::addRow("%lld", static_cast<long long>(row.code))
                << row.code << QString::fromLatin1(row.icon) << QString::fromLatin1(row.name);
    }
    void conditionTable()
    {
        QFETCH(qint64, code);
        const WeatherCondition condition = weatherCondition(code);
        QTEST(condition.icon, "icon");
        QTEST(condition.name, "name");
    }
};

QTEST_GUILESS_MAIN(TestWeatherForecast)
#include "tst_weatherforecast.moc"
