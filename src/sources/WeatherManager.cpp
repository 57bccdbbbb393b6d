#include "WeatherManager.h"

#include "WeatherCondition.h"
#include "WeatherForecast.h"
#include "platform/HttpClient.h"
#include "platform/LocationService.h"
#include "platform/ReverseGeocoder.h"
#include "platform/Scheduler.h"
#include "platform/SystemSettingsOpener.h"
#include "platform/QmlInstances.h"

namespace talvo {

namespace {

const QString kNoReading = QStringLiteral("--");
const QString kMyLocation = QStringLiteral("My Location");

QString placeName(const ReverseGeocodeResult &result)
{
    if (!result.succeeded || result.placemarks.isEmpty())
        return kMyLocation;
    const Placemark &first = result.placemarks.constFirst();
    if (!first.locality.isEmpty())
        return first.locality;
    if (!first.name.isEmpty())
        return first.name;
    return kMyLocation;
}

} // namespace

WeatherManager::WeatherManager(LocationService &location, ReverseGeocoder &geocoder, HttpClient &http,
                               SystemSettingsOpener &settingsOpener, Scheduler &scheduler,
                               QUrl forecastServiceBase, QObject *parent)
    : QObject(parent)
    , m_location(location)
    , m_geocoder(geocoder)
    , m_http(http)
    , m_settingsOpener(settingsOpener)
    , m_scheduler(scheduler)
    , m_forecastServiceBase(std::move(forecastServiceBase))
    , m_temperature(kNoReading)
    , m_conditionIcon(QStringLiteral("cloud.sun.fill"))
    , m_conditionName(QStringLiteral("Clear"))
    , m_locationName(QStringLiteral("Locating\u2026"))
    , m_feelsLike(kNoReading)
{
    connect(&m_location, &LocationService::authorizationChanged, this, &WeatherManager::authorizationChanged);
    connect(&m_location, &LocationService::locationsUpdated, this, &WeatherManager::locationsUpdated);
    connect(&m_location, &LocationService::failed, this, &WeatherManager::useFallbackLocation);
    m_location.setDesiredAccuracy(kDesiredAccuracyMetres);

    m_isLocationAuthorized = m_location.authorizationStatus() == LocationService::Authorized;
    if (m_isLocationAuthorized)
        m_location.requestLocation();
    else
        useFallbackLocation();
}

WeatherManager *WeatherManager::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<WeatherManager>(qmlEngine);
}

QString WeatherManager::fallbackLocationName() const
{
    return QStringLiteral("Colombo");
}

void WeatherManager::requestLocationAccess()
{
    switch (m_location.authorizationStatus()) {
    case LocationService::NotDetermined:
        m_location.requestWhenInUseAuthorization();
        break;
    case LocationService::Restricted:
    case LocationService::Denied:
        useFallbackLocation();
        m_settingsOpener.open(SystemSettingsOpener::Page::LocationPrivacy);
        break;
    case LocationService::Authorized:
        setLocationAuthorized(true);
        m_location.requestLocation();
        break;
    default:
        useFallbackLocation();
        break;
    }
}

void WeatherManager::authorizationChanged(int status)
{
    setLocationAuthorized(status == LocationService::Authorized);
    if (status == LocationService::Restricted || status == LocationService::Denied)
        useFallbackLocation();
    else if (status == LocationService::Authorized)
        m_location.requestLocation();
}

void WeatherManager::locationsUpdated(const QList<GeoCoordinate> &locations)
{
    if (locations.isEmpty())
        return;
    const GeoCoordinate position = locations.constLast();
    // Two independent jobs: the place name and the forecast may finish in either order.
    m_scheduler.post(this, [this, position] { updateLocationName(position); });
    m_scheduler.post(this, [this, position] { fetchWeather(position.latitude, position.longitude); });
}

void WeatherManager::useFallbackLocation()
{
    setLocationName(fallbackLocationName());
    m_scheduler.post(this, [this] { fetchWeather(kFallbackLat, kFallbackLon); });
}

void WeatherManager::updateLocationName(const GeoCoordinate &position)
{
    m_geocoder.reverseGeocode(position, this, [this](const ReverseGeocodeResult &result) {
        setLocationName(placeName(result));
    });
}

void WeatherManager::refreshIfStale()
{
    if (!m_lastAsked || m_fetchesInFlight > 0)
        return;
    const qint64 lifetimeMs = std::chrono::milliseconds(kReadingLifetime).count();
    if (m_readingAtMs && m_scheduler.monotonicMs() - *m_readingAtMs < lifetimeMs)
        return;
    fetchWeather(m_lastAsked->latitude, m_lastAsked->longitude);
}

void WeatherManager::fetchWeather(double latitude, double longitude)
{
    const std::optional<QUrl> url = forecastUrl(m_forecastServiceBase, latitude, longitude);
    if (!url)
        return;
    m_lastAsked = GeoCoordinate{latitude, longitude};
    ++m_fetchesInFlight;
    HttpRequest request;
    request.url = *url;
    request.maxBodyBytes = kMaxForecastBytes;
    request.timeout = kForecastTimeout;
    m_http.get(request, this, [this](const HttpResponse &response) {
        --m_fetchesInFlight;
        m_readingAtMs.reset();
        if (response.isTransportFailure()) {
            setTemperature(kNoReading);
            return;
        }
        // A cut-off, oversized or unreadable answer is no reading at all: keep what is shown.
        if (response.outcome != HttpResponse::Outcome::Completed)
            return;
        const std::optional<ForecastReading> reading = parseForecast(response.body);
        if (!reading)
            return;
        m_readingAtMs = m_scheduler.monotonicMs();
        setTemperature(reading->temperature);
        setFeelsLike(reading->feelsLike);
        const WeatherCondition condition = weatherCondition(reading->weatherCode);
        setConditionIcon(condition.icon);
        setConditionName(condition.name);
    });
}

template <typename T>
void WeatherManager::assign(T &field, const T &value, void (WeatherManager::*changed)())
{
    if (field == value)
        return;
    field = value;
    emit(this->*changed)();
}

void WeatherManager::setTemperature(const QString &value)
{
    assign(m_temperature, value, &WeatherManager::temperatureChanged);
}

void WeatherManager::setConditionIcon(const QString &value)
{
    assign(m_conditionIcon, value, &WeatherManager::conditionIconChanged);
}

void WeatherManager::setConditionName(const QString &value)
{
    assign(m_conditionName, value, &WeatherManager::conditionNameChanged);
}

void WeatherManager::setLocationName(const QString &value)
{
    assign(m_locationName, value, &WeatherManager::locationNameChanged);
}

void WeatherManager::setFeelsLike(const QString &value)
{
    assign(m_feelsLike, value, &WeatherManager::feelsLikeChanged);
}

void WeatherManager::setLocationAuthorized(bool value)
{
    assign(m_isLocationAuthorized, value, &WeatherManager::isLocationAuthorizedChanged);
}

} // namespace talvo
