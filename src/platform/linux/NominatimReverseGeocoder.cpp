#include "NominatimReverseGeocoder.h"

#include "platform/Log.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QUrlQuery>

#include <cmath>

namespace talvo {

namespace {

QString degreesText(qint64 thousandths)
{
    return QString::number(double(thousandths) / 1000.0, 'f', 3);
}

} // namespace

NominatimReverseGeocoder::NominatimReverseGeocoder(HttpClient &http, Scheduler &scheduler, QUrl serviceBase,
                                                   QByteArray userAgent, QObject *parent)
    : QObject(parent)
    , m_http(http)
    , m_scheduler(scheduler)
    , m_serviceBase(std::move(serviceBase))
    , m_userAgent(std::move(userAgent))
{
}

NominatimReverseGeocoder::~NominatimReverseGeocoder()
{
    m_wait.cancel();
}

QString NominatimReverseGeocoder::cacheKey(const Job &job)
{
    return QString::number(job.latitudeKey) + QLatin1Char(',') + QString::number(job.longitudeKey);
}

void NominatimReverseGeocoder::reverseGeocode(const GeoCoordinate &position, const QObject *context, Callback done)
{
    Job job;
    job.context = context;
    job.hasContext = context != nullptr;
    job.done = std::move(done);
    const bool onTheMap = std::isfinite(position.latitude) && std::isfinite(position.longitude)
        && std::abs(position.latitude) <= 90.0 && std::abs(position.longitude) <= 180.0;
    if (!onTheMap) {
        m_scheduler.post(this, [this, job] { finish(job, {false, {}, QStringLiteral("Not a position on the map")}); });
        return;
    }
    job.latitudeKey = std::llround(position.latitude * 1000.0);
    job.longitudeKey = std::llround(position.longitude * 1000.0);
    m_queue.append(std::move(job));
    // Even a cached answer comes on a later turn, never inside this call.
    m_scheduler.post(this, [this] { pump(); });
}

void NominatimReverseGeocoder::pump()
{
    // Answers already known need no request and no waiting.
    for (qsizetype i = 0; i < m_queue.size();) {
        if (const QList<Placemark> *cached = m_cache.object(cacheKey(m_queue[i]))) {
            const Job job = m_queue.takeAt(i);
            finish(job, {true, *cached, {}});
        } else {
            ++i;
        }
    }
    if (m_requestRunning || m_queue.isEmpty() || m_wait.isActive())
        return;
    const qint64 sinceLast = m_scheduler.monotonicMs() - m_lastStartMs;
    if (m_hasStarted && sinceLast < kMinimumSpacing.count()) {
        m_wait = m_scheduler.after(std::chrono::milliseconds(kMinimumSpacing.count() - sinceLast), this, [this] {
            m_wait = {};
            pump();
        });
        return;
    }
    start(m_queue.takeFirst());
}

void NominatimReverseGeocoder::start(Job job)
{
    QUrl url = m_serviceBase;
    QString path = url.path();
    while (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    url.setPath(path + QLatin1String("/reverse"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("format"), QStringLiteral("jsonv2"));
    query.addQueryItem(QStringLiteral("lat"), degreesText(job.latitudeKey));
    query.addQueryItem(QStringLiteral("lon"), degreesText(job.longitudeKey));
    // Neighbourhood detail: enough for the town, without naming a house.
    query.addQueryItem(QStringLiteral("zoom"), QStringLiteral("14"));
    query.addQueryItem(QStringLiteral("addressdetails"), QStringLiteral("1"));
    url.setQuery(query);

    HttpRequest request;
    request.url = url;
    request.headers = {{"User-Agent", m_userAgent}, {"Accept", "application/json"}};
    request.maxBodyBytes = kMaxReplyBytes;
    request.timeout = kTimeout;

    m_requestRunning = true;
    m_hasStarted = true;
    m_lastStartMs = m_scheduler.monotonicMs();
    m_http.get(request, this, [this, job = std::move(job)](const HttpResponse &response) {
        m_requestRunning = false;
        const ReverseGeocodeResult result = interpret(response);
        if (result.succeeded)
            m_cache.insert(cacheKey(job), new QList<Placemark>(result.placemarks));
        else
            qCWarning(lcWeather).noquote() << result.errorDescription;
        finish(job, result);
        pump();
    });
}

void NominatimReverseGeocoder::finish(const Job &job, const ReverseGeocodeResult &result)
{
    if (!job.hasContext || job.context)
        job.done(result);
}

ReverseGeocodeResult NominatimReverseGeocoder::interpret(const HttpResponse &response)
{
    if (response.outcome != HttpResponse::Outcome::Completed)
        return {false, {}, response.errorDescription};
    if (response.statusCode != 200)
        return {false, {}, QStringLiteral("The service answered with status %1").arg(response.statusCode)};
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(response.body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return {false, {}, QStringLiteral("Unreadable reply: not a JSON object")};
    const QJsonObject place = document.object();
    if (place.contains(QLatin1String("error")))
        return {true, {}, {}}; // the service knows no place there

    Placemark placemark;
    const QJsonObject address = place.value(QLatin1String("address")).toObject();
    for (const char *key : {"city", "town", "village"}) {
        placemark.locality = address.value(QLatin1String(key)).toString().trimmed();
        if (!placemark.locality.isEmpty())
            break;
    }
    placemark.name = place.value(QLatin1String("name")).toString().trimmed();
    if (placemark.locality.isEmpty() && placemark.name.isEmpty())
        return {true, {}, {}};
    return {true, {placemark}, {}};
}

} // namespace talvo
