#pragma once

#include "platform/GeoCoordinate.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <chrono>
#include <optional>

class QQmlEngine;
class QJSEngine;

namespace talvo {

class HttpClient;
class LocationService;
class ReverseGeocoder;
class Scheduler;
class SystemSettingsOpener;

// Current temperature, apparent temperature, condition and place name for the
// weather card and the onboarding permission row. It asks the location service
// for one coarse position, names the place through the reverse geocoder and
// fetches the current conditions for it from the forecast service; without a
// position it shows a fixed city.
//
// A reading is taken at creation, when the location authorisation changes to
// restricted, denied or authorised, when the service reports a position or a
// failure, and when requestLocationAccess() runs. Nothing polls; the card asks
// for a new reading when it shows (refreshIfStale()), which is taken only when
// the last one failed or is older than kReadingLifetime.
//
// Main thread only. Network and location work never blocks: replies arrive
// later, and when two forecasts overlap the one that finishes last wins.
class WeatherManager : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString temperature READ temperature NOTIFY temperatureChanged)
    Q_PROPERTY(QString conditionIcon READ conditionIcon NOTIFY conditionIconChanged)
    Q_PROPERTY(QString conditionName READ conditionName NOTIFY conditionNameChanged)
    Q_PROPERTY(QString locationName READ locationName NOTIFY locationNameChanged)
    Q_PROPERTY(QString feelsLike READ feelsLike NOTIFY feelsLikeChanged)
    Q_PROPERTY(bool isLocationAuthorized READ isLocationAuthorized NOTIFY isLocationAuthorizedChanged)
    Q_PROPERTY(double fallbackLat READ fallbackLat CONSTANT)
    Q_PROPERTY(double fallbackLon READ fallbackLon CONSTANT)
    Q_PROPERTY(QString fallbackLocationName READ fallbackLocationName CONSTANT)

public:
    static constexpr double kFallbackLat = 6.9271;
    static constexpr double kFallbackLon = 79.8612;
    // Coarse positions are enough to name a town and pick its forecast.
    static constexpr double kDesiredAccuracyMetres = 1000.0;
    static constexpr qint64 kMaxForecastBytes = 256 * 1024;
    static constexpr std::chrono::milliseconds kForecastTimeout{30000};
    static constexpr std::chrono::minutes kReadingLifetime{30};

    // `forecastServiceBase` is the service's scheme, host and optional path
    // prefix; "/v1/forecast" is appended to it.
    WeatherManager(LocationService &location, ReverseGeocoder &geocoder, HttpClient &http,
                   SystemSettingsOpener &settingsOpener, Scheduler &scheduler, QUrl forecastServiceBase,
                   QObject *parent = nullptr);

    // QML gets the instance the application built (see QmlInstances.h).
    static WeatherManager *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    QString temperature() const { return m_temperature; }
    QString conditionIcon() const { return m_conditionIcon; }
    QString conditionName() const { return m_conditionName; }
    QString locationName() const { return m_locationName; }
    QString feelsLike() const { return m_feelsLike; }
    bool isLocationAuthorized() const { return m_isLocationAuthorized; }
    double fallbackLat() const { return kFallbackLat; }
    double fallbackLon() const { return kFallbackLon; }
    QString fallbackLocationName() const;

    // The onboarding "grant" action: asks for access when the program has never
    // asked, sends the user to the desktop's location settings when access was
    // refused, and reads the weather for whatever position follows.
    Q_INVOKABLE void requestLocationAccess();
    // Fetches the forecast again for the last position asked about when the
    // last reading failed or has aged past kReadingLifetime, and none is on
    // its way.
    Q_INVOKABLE void refreshIfStale();

signals:
    void temperatureChanged();
    void conditionIconChanged();
    void conditionNameChanged();
    void locationNameChanged();
    void feelsLikeChanged();
    void isLocationAuthorizedChanged();

private:
    void authorizationChanged(int status);
    void locationsUpdated(const QList<GeoCoordinate> &locations);
    void useFallbackLocation();
    void updateLocationName(const GeoCoordinate &position);
    void fetchWeather(double latitude, double longitude);

    // Stores the value and announces it, only when it differs.
    template <typename T>
    void assign(T &field, const T &value, void (WeatherManager::*changed)());
    void setTemperature(const QString &value);
    void setConditionIcon(const QString &value);
    void setConditionName(const QString &value);
    void setLocationName(const QString &value);
    void setFeelsLike(const QString &value);
    void setLocationAuthorized(bool value);

    LocationService &m_location;
    ReverseGeocoder &m_geocoder;
    HttpClient &m_http;
    SystemSettingsOpener &m_settingsOpener;
    Scheduler &m_scheduler;
    const QUrl m_forecastServiceBase;

    QString m_temperature;
    QString m_conditionIcon;
    QString m_conditionName;
    QString m_locationName;
    QString m_feelsLike;
    bool m_isLocationAuthorized = false;

    std::optional<GeoCoordinate> m_lastAsked;
    int m_fetchesInFlight = 0;
    // When the last reading arrived (monotonic); none after a failure.
    std::optional<qint64> m_readingAtMs;
};

} // namespace talvo
