#pragma once

#include "platform/HttpClient.h"
#include "platform/ReverseGeocoder.h"
#include "platform/Scheduler.h"

#include <QCache>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include <chrono>

namespace talvo {

// ReverseGeocoder over a Nominatim-compatible service ("/reverse", jsonv2).
//
// The public service asks its users to identify themselves, to send at most
// one request a second and to cache answers, so: every request names the
// program in its User-Agent; requests wait in a queue and start at least a
// second apart, one at a time; and answers are kept per position rounded to
// three decimals (about 100 m, finer than the coarse positions asked for),
// which is also the position sent.
//
// The placemark's locality is the address's city, town or village, its name
// the place's own name; a position the service cannot name (open sea) gives
// success without placemarks.
class NominatimReverseGeocoder final : public QObject, public ReverseGeocoder
{
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds kMinimumSpacing{1000};
    static constexpr std::chrono::milliseconds kTimeout{15000};
    static constexpr qint64 kMaxReplyBytes = 256 * 1024;
    static constexpr int kCachedPositions = 64;

    NominatimReverseGeocoder(HttpClient &http, Scheduler &scheduler, QUrl serviceBase, QByteArray userAgent,
                             QObject *parent = nullptr);
    ~NominatimReverseGeocoder() override;

    void reverseGeocode(const GeoCoordinate &position, const QObject *context, Callback done) override;

    // What a reply says: a failure with its reason, no place, or one placemark.
    static ReverseGeocodeResult interpret(const HttpResponse &response);

private:
    struct Job
    {
        qint64 latitudeKey = 0; // thousandths of a degree
        qint64 longitudeKey = 0;
        QPointer<const QObject> context;
        bool hasContext = false;
        Callback done;
    };
    static QString cacheKey(const Job &job);
    void pump();
    void start(Job job);
    void finish(const Job &job, const ReverseGeocodeResult &result);

    HttpClient &m_http;
    Scheduler &m_scheduler;
    const QUrl m_serviceBase;
    const QByteArray m_userAgent;
    QList<Job> m_queue;
    QCache<QString, QList<Placemark>> m_cache{kCachedPositions};
    bool m_requestRunning = false;
    bool m_hasStarted = false;
    qint64 m_lastStartMs = 0;
    TimerHandle m_wait;
};

} // namespace talvo
