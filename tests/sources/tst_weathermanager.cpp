#include "fakes/FakeLocationService.h"
#include "fakes/FakeReverseGeocoder.h"
#include "fakes/FakeSystemSettingsOpener.h"
#include "fakes/LoopbackHttpServer.h"
#include "fakes/VirtualScheduler.h"
#include "platform/linux/NetworkHttpClient.h"
#include "sources/WeatherManager.h"

#include <QSignalSpy>
#include <QTest>

using namespace talvo;
using Reply = LoopbackHttpServer::Reply;

Q_DECLARE_METATYPE(LoopbackHttpServer::Reply)
Q_DECLARE_METATYPE(QList<talvo::Placemark>)

namespace {

const QString kForecastPath = QStringLiteral("/v1/forecast");
const QString kLocating = QStringLiteral("Locating\u2026");

QByteArray forecastBody(double temperature, double apparent, qint64 code)
{
    return QStringLiteral(R"({"current":{"temperature_2m":%1,"apparent_temperature":%2,"weather_code":%3}})")
        .arg(temperature)
        .arg(apparent)
        .arg(code)
        .toUtf8();
}

// Forwards to the real client and counts the answers the manager has been
// handed, so a test knows when a reply that changes nothing has been seen.
class CountingHttpClient final : public HttpClient
{
public:
    explicit CountingHttpClient(HttpClient &inner) : m_inner(inner) {}
    void get(const HttpRequest &request, const QObject *context, Callback done) override
    {
        m_inner.get(request, context, [this, done = std::move(done)](const HttpResponse &response) {
            done(response);
            ++answered;
        });
    }
    int answered = 0;

private:
    HttpClient &m_inner;
};

// Everything a WeatherManager needs, with the forecast service on loopback.
struct Rig
{
    LoopbackHttpServer server;
    VirtualScheduler scheduler;
    NetworkHttpClient network{scheduler};
    CountingHttpClient http{network};
    FakeLocationService location;
    FakeReverseGeocoder geocoder;
    FakeSystemSettingsOpener settings;
    std::unique_ptr<WeatherManager> manager;

    explicit Rig(int status)
    {
        location.setStatus(status);
        QVERIFY(server.listen());
    }
    WeatherManager &create()
    {
        manager = std::make_unique<WeatherManager>(location, geocoder, http, settings, scheduler, server.url());
        return *manager;
    }
    // Runs posted jobs and waits until `count` forecast answers have reached the manager.
    bool awaitAnswers(int count)
    {
        scheduler.runPending();
        return QTest::qWaitFor([&] { return http.answered >= count; }, 5000) && http.answered == count;
    }
    // The query of the forecast request at `index`.
    QString forecastQuery(int index) const
    {
        QList<LoopbackHttpServer::Request> forecasts;
        for (const auto &request : server.requests())
            if (request.path == kForecastPath)
                forecasts.append(request);
        return forecasts.value(index).query.toString(QUrl::FullyEncoded);
    }
};

QString coordinatesQuery(const QString &latitude, const QString &longitude)
{
    return QStringLiteral("latitude=%1&longitude=%2&current=temperature_2m,apparent_temperature,weather_code")
        .arg(latitude, longitude);
}

} // namespace

class TestWeatherManager : public QObject
{
    Q_OBJECT

    struct Shown
    {
        QString temperature, feelsLike, icon, name;
    };
    static Shown shown(const WeatherManager &m)
    {
        return {m.temperature(), m.feelsLike(), m.conditionIcon(), m.conditionName()};
    }

private slots:
    void firstStartWithoutGrantShowsTheFallbackCity()
    {
        Rig rig(LocationService::NotDetermined);
        rig.server.setReply(kForecastPath, Reply::json(forecastBody(29.4, 34.6, 3)));
        WeatherManager &manager = rig.create();

        QCOMPARE(manager.locationName(), QStringLiteral("Colombo"));
        QCOMPARE(manager.isLocationAuthorized(), false);
        QCOMPARE(manager.temperature(), QStringLiteral("--"));
        QCOMPARE(rig.location.locationRequests, 0);
        QCOMPARE(rig.location.desiredAccuracy, 1000.0);

        QVERIFY(rig.awaitAnswers(1));
        const LoopbackHttpServer::Request request = rig.server.requests().constFirst();
        QCOMPARE(request.target, QByteArray("/v1/forecast?latitude=6.9271&longitude=79.8612"
                                            "&current=temperature_2m,apparent_temperature,weather_code"));
        QCOMPARE(manager.temperature(), QStringLiteral("29"));
        QCOMPARE(manager.feelsLike(), QStringLiteral("35"));
        QCOMPARE(manager.conditionIcon(), QStringLiteral("cloud.sun.fill"));
        QCOMPARE(manager.conditionName(), QStringLiteral("Cloudy"));
        QCOMPARE(rig.geocoder.requested.size(), 0);
    }

    void readingsAreShown_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("temperature");
        QTest::addColumn<QString>("feelsLike");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QString>("name");
        QTest::newRow("code 0") << forecastBody(20, 19, 0) << "20" << "19" << "sun.max.fill" << "Clear";
        QTest::newRow("code 3") << forecastBody(20, 19, 3) << "20" << "19" << "cloud.sun.fill" << "Cloudy";
        QTest::newRow("code 48") << forecastBody(20, 19, 48) << "20" << "19" << "cloud.fog.fill" << "Fog";
        QTest::newRow("code 50") << forecastBody(20, 19, 50) << "20" << "19" << "cloud.sun.fill" << "Clear";
        QTest::newRow("code 82") << forecastBody(20, 19, 82) << "20" << "19" << "cloud.heavyrain.fill" << "Heavy Rain";
        QTest::newRow("code 99") << forecastBody(20, 19, 99) << "20" << "19" << "cloud.bolt.rain.fill" << "Storm";
        QTest::newRow("code 100") << forecastBody(20, 19, 100) << "20" << "19" << "cloud.sun.fill" << "Clear";
        QTest::newRow("negative code") << forecastBody(20, 19, -3) << "20" << "19" << "cloud.sun.fill" << "Clear";
        QTest::newRow("21.5 and -0.4") << forecastBody(21.5, -0.4, 1) << "22" << "0" << "cloud.sun.fill" << "Cloudy";
        QTest::newRow("-2.5") << forecastBody(-2.5, -7.5, 71) << "-3" << "-8" << "snow" << "Snow";
        QTest::newRow("error status with a reading") << forecastBody(1, 1, 61) << "1" << "1" << "cloud.rain.fill" << "Rain";
    }
    void readingsAreShown()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, temperature);
        QFETCH(QString, feelsLike);
        QFETCH(QString, icon);
        QFETCH(QString, name);
        Rig rig(LocationService::NotDetermined);
        // The status code is not what decides: a readable body is a reading.
        const int status = QByteArray(QTest::currentDataTag()).startsWith("error") ? 500 : 200;
        rig.server.setReply(kForecastPath, Reply::json(body, status));
        WeatherManager &manager = rig.create();
        QVERIFY(rig.awaitAnswers(1));
        QCOMPARE(manager.temperature(), temperature);
        QCOMPARE(manager.feelsLike(), feelsLike);
        QCOMPARE(manager.conditionIcon(), icon);
        QCOMPARE(manager.conditionName(), name);
    }

    void unreadableAnswersChangeNothing_data()
    {
        QTest::addColumn<Reply>("reply");
        Reply truncated = Reply::json(forecastBody(5, 5, 0));
        truncated.truncateAfter = 20;
        Reply huge = Reply::json(R"({"current":{"temperature_2m":5,"apparent_temperature":5,"weather_code":0},"pad":")"
                                 + QByteArray(300 * 1024, 'x') + R"("})");
        QTest::newRow("no weather_code") << Reply::json(R"({"current":{"temperature_2m":5,"apparent_temperature":5}})");
        QTest::newRow("not JSON") << Reply::text("Service temporarily unavailable", 503);
        QTest::newRow("no current") << Reply::json(R"({"error":true,"reason":"Parameter 'current' is invalid"})", 400);
        QTest::newRow("out of 64-bit range") << Reply::json(forecastBody(1e300, 5, 0));
        QTest::newRow("truncated") << truncated;
        QTest::newRow("huge") << huge;
    }
    void unreadableAnswersChangeNothing()
    {
        QFETCH(Reply, reply);
        Rig rig(LocationService::NotDetermined);
        rig.server.enqueueReply(kForecastPath, Reply::json(forecastBody(12.2, 10.6, 45)));
        rig.server.setReply(kForecastPath, reply);
        WeatherManager &manager = rig.create();
        QVERIFY(rig.awaitAnswers(1));
        QCOMPARE(manager.temperature(), QStringLiteral("12"));

        QSignalSpy temperatureSpy(&manager, &WeatherManager::temperatureChanged);
        QSignalSpy feelsLikeSpy(&manager, &WeatherManager::feelsLikeChanged);
        QSignalSpy iconSpy(&manager, &WeatherManager::conditionIconChanged);
        QSignalSpy nameSpy(&manager, &WeatherManager::conditionNameChanged);
        rig.location.fail(); // another reading for the fallback city
        QVERIFY(rig.awaitAnswers(2));
        QCOMPARE(rig.server.requestCount(kForecastPath), 2);
        QCOMPARE(manager.temperature(), QStringLiteral("12"));
        QCOMPARE(manager.feelsLike(), QStringLiteral("11"));
        QCOMPARE(manager.conditionIcon(), QStringLiteral("cloud.fog.fill"));
        QCOMPARE(manager.conditionName(), QStringLiteral("Fog"));
        QCOMPARE(temperatureSpy.count() + feelsLikeSpy.count() + iconSpy.count() + nameSpy.count(), 0);
    }

    void unreachableServiceClearsOnlyTheTemperature_data()
    {
        QTest::addColumn<bool>("timeOut");
        QTest::newRow("connection dropped") << false;
        QTest::newRow("no answer in time") << true;
    }
    void unreachableServiceClearsOnlyTheTemperature()
    {
        QFETCH(bool, timeOut);
        Rig rig(LocationService::NotDetermined);
        rig.server.enqueueReply(kForecastPath, Reply::json(forecastBody(-4.6, -9.2, 73)));
        Reply failing;
        failing.closeWithoutReply = !timeOut;
        failing.hold = timeOut;
        rig.server.setReply(kForecastPath, failing);
        WeatherManager &manager = rig.create();
        QVERIFY(rig.awaitAnswers(1));

        rig.location.fail();
        if (timeOut) {
            rig.scheduler.runPending();
            QTRY_COMPARE(rig.server.heldCount(), 1);
            rig.scheduler.advance(WeatherManager::kForecastTimeout);
        }
        QVERIFY(rig.awaitAnswers(2));
        QCOMPARE(manager.temperature(), QStringLiteral("--"));
        QCOMPARE(manager.feelsLike(), QStringLiteral("-9"));
        QCOMPARE(manager.conditionIcon(), QStringLiteral("snow"));
        QCOMPARE(manager.conditionName(), QStringLiteral("Snow"));
    }

    void grantedStartLocatesOnceAndNamesThePlace()
    {
        Rig rig(LocationService::Authorized);
        rig.server.setReply(kForecastPath, Reply::json(forecastBody(8, 6, 61)));
        WeatherManager &manager = rig.create();
        QCOMPARE(manager.isLocationAuthorized(), true);
        QCOMPARE(manager.locationName(), kLocating);
        QCOMPARE(rig.location.locationRequests, 1);
        rig.scheduler.runPending();
        QCOMPARE(rig.server.requestCount(), 0);

        rig.location.deliver({{48.1, 11.5}, {52.52, 13.405}});
        QCOMPARE(rig.geocoder.requested.size(), 0); // both jobs start on a later turn
        QVERIFY(rig.awaitAnswers(1));
        QCOMPARE(rig.geocoder.requested, (QList<GeoCoordinate>{{52.52, 13.405}}));
        QCOMPARE(rig.forecastQuery(0), coordinatesQuery(QStringLiteral("52.52"), QStringLiteral("13.405")));
        QCOMPARE(manager.conditionName(), QStringLiteral("Rain"));
        QCOMPARE(manager.locationName(), kLocating);

        rig.geocoder.answer({Placemark{QStringLiteral("Berlin"), QStringLiteral("Unter den Linden")}});
        QCOMPARE(manager.locationName(), QStringLiteral("Berlin"));
    }

    void emptyPositionListIsIgnored()
    {
        Rig rig(LocationService::Authorized);
        WeatherManager &manager = rig.create();
        rig.location.deliver({});
        rig.scheduler.runPending();
        QCOMPARE(rig.geocoder.requested.size(), 0);
        QCOMPARE(rig.http.answered + rig.server.requestCount(), 0);
        QCOMPARE(manager.locationName(), kLocating);
    }

    void placeName_data()
    {
        QTest::addColumn<bool>("succeeded");
        QTest::addColumn<QList<Placemark>>("placemarks");
        QTest::addColumn<QString>("name");
        const QString mine = QStringLiteral("My Location");
        QTest::newRow("locality") << true << QList<Placemark>{{QStringLiteral("Kandy"), QStringLiteral("Temple Street")}}
                                  << QStringLiteral("Kandy");
        QTest::newRow("name without locality")
            << true << QList<Placemark>{{QString(), QStringLiteral("Horton Plains")}} << QStringLiteral("Horton Plains");
        QTest::newRow("first placemark decides")
            << true << QList<Placemark>{{QString(), QString()}, {QStringLiteral("Galle"), QString()}} << mine;
        QTest::newRow("no placemark") << true << QList<Placemark>{} << mine;
        QTest::newRow("geocoder error") << false << QList<Placemark>{} << mine;
    }
    void placeName()
    {
        QFETCH(bool, succeeded);
        QFETCH(QList<Placemark>, placemarks);
        QFETCH(QString, name);
        Rig rig(LocationService::Authorized);
        WeatherManager &manager = rig.create();
        rig.location.deliver({{7.29, 80.63}});
        rig.scheduler.runPending();
        QCOMPARE(rig.geocoder.pendingCount(), 1);
        rig.geocoder.answer({succeeded, placemarks, succeeded ? QString() : QStringLiteral("network down")});
        QCOMPARE(manager.locationName(), name);
    }

    void requestLocationAccess_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("authorizationRequests");
        QTest::addColumn<int>("locationRequests");
        QTest::addColumn<bool>("settingsOpened");
        QTest::addColumn<bool>("fallback");
        QTest::addColumn<bool>("authorized");
        QTest::newRow("never asked") << 0 << 1 << 0 << false << false << false;
        QTest::newRow("restricted") << 1 << 0 << 0 << true << true << false;
        QTest::newRow("denied before") << 2 << 0 << 0 << true << true << false;
        QTest::newRow("granted") << 3 << 0 << 1 << false << false << true;
        QTest::newRow("unknown state") << 9 << 0 << 0 << false << true << false;
    }
    void requestLocationAccess()
    {
        QFETCH(int, status);
        QFETCH(int, authorizationRequests);
        QFETCH(int, locationRequests);
        QFETCH(bool, settingsOpened);
        QFETCH(bool, fallback);
        QFETCH(bool, authorized);
        // Start from a located, named place so that a return to the fallback shows.
        Rig rig(LocationService::NotDetermined);
        rig.server.setReply(kForecastPath, Reply::json(forecastBody(3, 1, 0)));
        WeatherManager &manager = rig.create();
        rig.location.deliver({{60.17, 24.94}});
        QVERIFY(rig.awaitAnswers(2));
        rig.geocoder.answer({Placemark{QStringLiteral("Helsinki"), QString()}});
        rig.location.setStatus(status);
        rig.location.locationRequests = 0;

        manager.requestLocationAccess();
        QCOMPARE(rig.location.authorizationRequests, authorizationRequests);
        QCOMPARE(rig.location.locationRequests, locationRequests);
        QCOMPARE(rig.settings.opened.size(), settingsOpened ? 1 : 0);
        if (settingsOpened)
            QCOMPARE(rig.settings.opened.constFirst(), SystemSettingsOpener::Page::LocationPrivacy);
        QCOMPARE(manager.locationName(), fallback ? QStringLiteral("Colombo") : QStringLiteral("Helsinki"));
        QCOMPARE(manager.isLocationAuthorized(), authorized);
        QVERIFY(rig.awaitAnswers(fallback ? 3 : 2));
        if (fallback)
            QCOMPARE(rig.forecastQuery(2), coordinatesQuery(QStringLiteral("6.9271"), QStringLiteral("79.8612")));
    }

    void authorizationChanges_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("authorized");
        QTest::addColumn<int>("locationRequests");
        QTest::addColumn<int>("forecasts");
        QTest::newRow("granted") << 3 << true << 1 << 1;
        QTest::newRow("denied") << 2 << false << 0 << 2;
        QTest::newRow("restricted") << 1 << false << 0 << 2;
        QTest::newRow("back to not determined") << 0 << false << 0 << 1;
        QTest::newRow("unknown state") << 7 << false << 0 << 1;
    }
    void authorizationChanges()
    {
        QFETCH(int, status);
        QFETCH(bool, authorized);
        QFETCH(int, locationRequests);
        QFETCH(int, forecasts);
        Rig rig(LocationService::NotDetermined);
        rig.server.setReply(kForecastPath, Reply::json(forecastBody(3, 1, 0)));
        WeatherManager &manager = rig.create();
        QVERIFY(rig.awaitAnswers(1));
        QSignalSpy authorizedSpy(&manager, &WeatherManager::isLocationAuthorizedChanged);

        rig.location.changeAuthorization(status);
        QCOMPARE(manager.isLocationAuthorized(), authorized);
        QCOMPARE(authorizedSpy.count(), authorized ? 1 : 0);
        QCOMPARE(rig.location.locationRequests, locationRequests);
        QVERIFY(rig.awaitAnswers(forecasts));
        QCOMPARE(manager.locationName(), QStringLiteral("Colombo"));
    }

    void positionFailureReturnsToTheFallbackCity()
    {
        Rig rig(LocationService::Authorized);
        rig.server.setReply(kForecastPath, Reply::json(forecastBody(3, 1, 0)));
        WeatherManager &manager = rig.create();
        rig.location.deliver({{64.15, -21.94}});
        QVERIFY(rig.awaitAnswers(1));
        rig.geocoder.answer({Placemark{QStringLiteral("Reykjavik"), QString()}});

        rig.location.fail(QStringLiteral("timeout"));
        QCOMPARE(manager.locationName(), QStringLiteral("Colombo"));
        QVERIFY(rig.awaitAnswers(2));
        QCOMPARE(rig.forecastQuery(1), coordinatesQuery(QStringLiteral("6.9271"), QStringLiteral("79.8612")));
    }

    void lastForecastToFinishWins()
    {
        Rig rig(LocationService::Authorized);
        Reply slow = Reply::json(forecastBody(10, 9, 0));
        slow.hold = true;
        rig.server.enqueueReply(kForecastPath, slow);
        rig.server.enqueueReply(kForecastPath, Reply::json(forecastBody(20, 19, 95)));
        WeatherManager &manager = rig.create();

        rig.location.deliver({{1.0, 2.0}});
        rig.scheduler.runPending();
        QTRY_COMPARE(rig.server.heldCount(), 1);
        // While the first forecast waits, the place name and a second forecast go on.
        rig.geocoder.answer({Placemark{QStringLiteral("First"), QString()}});
        QCOMPARE(manager.locationName(), QStringLiteral("First"));
        rig.location.deliver({{3.0, 4.0}});
        QVERIFY(rig.awaitAnswers(1));
        QCOMPARE(manager.temperature(), QStringLiteral("20"));
        QCOMPARE(manager.conditionName(), QStringLiteral("Storm"));

        QVERIFY(rig.server.release());
        QVERIFY(rig.awaitAnswers(2));
        QCOMPARE(rig.forecastQuery(0), coordinatesQuery(QStringLiteral("1.0"), QStringLiteral("2.0")));
        QCOMPARE(manager.temperature(), QStringLiteral("10"));
        QCOMPARE(manager.feelsLike(), QStringLiteral("9"));
        QCOMPARE(manager.conditionName(), QStringLiteral("Clear"));
    }

    void sameReadingAnnouncesNothing()
    {
        Rig rig(LocationService::NotDetermined);
        rig.server.setReply(kForecastPath, Reply::json(forecastBody(15, 14, 2)));
        WeatherManager &manager = rig.create();
        QVERIFY(rig.awaitAnswers(1));
        QSignalSpy temperatureSpy(&manager, &WeatherManager::temperatureChanged);
        QSignalSpy locationSpy(&manager, &WeatherManager::locationNameChanged);
        rig.location.fail();
        QVERIFY(rig.awaitAnswers(2));
        QCOMPARE(temperatureSpy.count(), 0);
        QCOMPARE(locationSpy.count(), 0);
    }

    void managerGoneBeforeTheAnswers()
    {
        Rig rig(LocationService::Authorized);
        Reply slow = Reply::json(forecastBody(10, 9, 0));
        slow.hold = true;
        rig.server.setReply(kForecastPath, slow);
        rig.create();
        rig.location.deliver({{1.0, 2.0}});
        rig.scheduler.runPending();
        QTRY_COMPARE(rig.server.heldCount(), 1);
        rig.manager.reset();
        rig.geocoder.answer({Placemark{QStringLiteral("Late"), QString()}});
        rig.server.releaseAll();
        QTest::qWait(20);
        QCOMPARE(rig.http.answered, 0);
    }
};

QTEST_GUILESS_MAIN(TestWeatherManager)
#include "tst_weathermanager.moc"
