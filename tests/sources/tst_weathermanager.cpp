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
using namespace Qt::StringLiterals;
using Reply = LoopbackHttpServer::Reply;

Q_DECLARE_METATYPE(LoopbackHttpServer::Reply)
Q_DECLARE_METATYPE(QList<talvo::Placemark>)

namespace {

const QString kForecastPath = u"/v1/forecast"_s;
const QString kLocating = u"Locating\u2026"_s;

Reply forecast(double temperature, double apparent, qint64 code, int status = 200)
{
    return Reply::json(u"{\"current\":{\"temperature_2m\":%1,\"apparent_temperature\":%2,\"weather_code\":%3}}"_s
                           .arg(temperature)
                           .arg(apparent)
                           .arg(code)
                           .toUtf8(),
                       status);
}

QString coordinatesQuery(const QString &latitude, const QString &longitude)
{
    return u"latitude=%1&longitude=%2&current=temperature_2m,apparent_temperature,weather_code"_s.arg(latitude, longitude);
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

    explicit Rig(int status, std::optional<Reply> reply = forecast(3, 1, 0))
    {
        location.setStatus(status);
        QVERIFY(server.listen());
        if (reply)
            server.setReply(kForecastPath, *reply);
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
    QString forecastQuery(int index) const
    {
        QList<LoopbackHttpServer::Request> forecasts;
        for (const auto &request : server.requests())
            if (request.path == kForecastPath)
                forecasts.append(request);
        return forecasts.value(index).query.toString(QUrl::FullyEncoded);
    }
    // Located and named, so that a return to the fallback city shows.
    void locateIn(GeoCoordinate position, const QString &name, int answers)
    {
        location.deliver({position});
        QVERIFY(awaitAnswers(answers));
        geocoder.answer({Placemark{name, QString()}});
    }
};

// What the weather widget shows: temperature, feels-like, icon and condition name.
QStringList shown(const WeatherManager &m)
{
    return {m.temperature(), m.feelsLike(), m.conditionIcon(), m.conditionName()};
}

} // namespace

class TestWeatherManager : public QObject
{
    Q_OBJECT
private slots:
    void firstStartWithoutGrantShowsTheFallbackCity()
    {
        Rig rig(LocationService::NotDetermined, forecast(29.4, 34.6, 3));
        WeatherManager &manager = rig.create();
        QCOMPARE(manager.locationName(), u"Colombo"_s);
        QCOMPARE(manager.isLocationAuthorized(), false);
        QCOMPARE(manager.temperature(), u"--"_s);
        QCOMPARE(rig.location.locationRequests, 0);
        QCOMPARE(rig.location.desiredAccuracy, 1000.0);

        QVERIFY(rig.awaitAnswers(1));
        QCOMPARE(rig.server.requests().constFirst().target,
                 QByteArray("/v1/forecast?latitude=6.9271&longitude=79.8612"
                            "&current=temperature_2m,apparent_temperature,weather_code"));
        QCOMPARE(shown(manager), (QStringList{"29", "35", "cloud.sun.fill", "Cloudy"}));
        QCOMPARE(rig.geocoder.requested.size(), 0);
    }

    // The condition table and the rounding rules are tst_weatherforecast's.
    // The status code is not what decides: a readable body is a reading.
    void anErrorStatusWithAReadingIsShown()
    {
        Rig rig(LocationService::NotDetermined, forecast(1, 1, 61, 500));
        WeatherManager &manager = rig.create();
        QVERIFY(rig.awaitAnswers(1));
        QCOMPARE(shown(manager), (QStringList{"1", "1", "cloud.rain.fill", "Rain"}));
    }

    void unreadableAnswersChangeNothing_data()
    {
        QTest::addColumn<Reply>("reply");
        Reply truncated = forecast(5, 5, 0);
        truncated.truncateAfter = 20;
        Reply huge = Reply::json(R"({"current":{"temperature_2m":5,"apparent_temperature":5,"weather_code":0},"pad":")"
                                 + QByteArray(300 * 1024, 'x') + R"("})");
        QTest::newRow("no weather_code") << Reply::json(R"({"current":{"temperature_2m":5,"apparent_temperature":5}})");
        QTest::newRow("truncated") << truncated;
        QTest::newRow("huge") << huge;
    }
    void unreadableAnswersChangeNothing()
    {
        QFETCH(Reply, reply);
        Rig rig(LocationService::NotDetermined, reply);
        rig.server.enqueueReply(kForecastPath, forecast(12.2, 10.6, 45));
        WeatherManager &manager = rig.create();
        QVERIFY(rig.awaitAnswers(1));

        QSignalSpy spies[] = {{&manager, &WeatherManager::temperatureChanged},
                              {&manager, &WeatherManager::feelsLikeChanged},
                              {&manager, &WeatherManager::conditionIconChanged},
                              {&manager, &WeatherManager::conditionNameChanged}};
        rig.location.fail(); // another reading for the fallback city
        QVERIFY(rig.awaitAnswers(2));
        QCOMPARE(rig.server.requestCount(kForecastPath), 2);
        QCOMPARE(shown(manager), (QStringList{"12", "11", "cloud.fog.fill", "Fog"}));
        for (const QSignalSpy &spy : spies)
            QCOMPARE(spy.count(), 0);
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
        Reply failing;
        failing.closeWithoutReply = !timeOut;
        failing.hold = timeOut;
        Rig rig(LocationService::NotDetermined, failing);
        rig.server.enqueueReply(kForecastPath, forecast(-4.6, -9.2, 73));
        WeatherManager &manager = rig.create();
        QVERIFY(rig.awaitAnswers(1));

        rig.location.fail();
        if (timeOut) {
            rig.scheduler.runPending();
            QTRY_COMPARE(rig.server.heldCount(), 1);
            rig.scheduler.advance(WeatherManager::kForecastTimeout);
        }
        QVERIFY(rig.awaitAnswers(2));
        QCOMPARE(shown(manager), (QStringList{"--", "-9", "snow", "Snow"}));
    }

    // The card asks again whenever it shows: only a failed or old reading is taken again.
    void failedOrOldReadingIsTakenAgain()
    {
        Reply failing;
        failing.closeWithoutReply = true;
        Rig rig(LocationService::NotDetermined, failing);
        WeatherManager &manager = rig.create();
        QVERIFY(rig.awaitAnswers(1));
        QCOMPARE(manager.temperature(), u"--"_s);

        rig.server.setReply(kForecastPath, forecast(7.2, 5, 0));
        manager.refreshIfStale();
        manager.refreshIfStale(); // one on its way is enough
        QVERIFY(rig.awaitAnswers(2));
        QCOMPARE(manager.temperature(), u"7"_s);
        QCOMPARE(rig.forecastQuery(1), rig.forecastQuery(0));

        const int asked = rig.server.requestCount(kForecastPath);
        manager.refreshIfStale();
        rig.scheduler.advance(WeatherManager::kReadingLifetime - std::chrono::minutes(1));
        manager.refreshIfStale();
        QTest::qWait(100);
        QCOMPARE(rig.server.requestCount(kForecastPath), asked);
        rig.scheduler.advance(std::chrono::minutes(1));
        manager.refreshIfStale();
        QVERIFY(rig.awaitAnswers(3));
    }

    void grantedStartLocatesOnceAndNamesThePlace()
    {
        Rig rig(LocationService::Authorized, forecast(8, 6, 61));
        WeatherManager &manager = rig.create();
        QCOMPARE(manager.isLocationAuthorized(), true);
        QCOMPARE(manager.locationName(), kLocating);
        QCOMPARE(rig.location.locationRequests, 1);
        rig.scheduler.runPending();
        QCOMPARE(rig.server.requestCount(), 0);

        rig.location.deliver({});
        rig.scheduler.runPending();
        QCOMPARE(rig.server.requestCount(), 0); // an empty list is no position

        rig.location.deliver({{48.1, 11.5}, {52.52, 13.405}});
        QCOMPARE(rig.geocoder.requested.size(), 0); // both jobs start on a later turn
        QVERIFY(rig.awaitAnswers(1));
        QCOMPARE(rig.geocoder.requested, (QList<GeoCoordinate>{{52.52, 13.405}}));
        QCOMPARE(rig.forecastQuery(0), coordinatesQuery(u"52.52"_s, u"13.405"_s));
        QCOMPARE(manager.conditionName(), u"Rain"_s);
        QCOMPARE(manager.locationName(), kLocating);

        rig.geocoder.answer({Placemark{u"Berlin"_s, u"Unter den Linden"_s}});
        QCOMPARE(manager.locationName(), u"Berlin"_s);
    }

    void placeName_data()
    {
        QTest::addColumn<bool>("succeeded");
        QTest::addColumn<QList<Placemark>>("placemarks");
        QTest::addColumn<QString>("name");
        QTest::newRow("locality") << true << QList<Placemark>{{u"Kandy"_s, u"Temple Street"_s}} << "Kandy";
        QTest::newRow("name without locality") << true << QList<Placemark>{{{}, u"Horton Plains"_s}} << "Horton Plains";
        QTest::newRow("first placemark decides")
            << true << QList<Placemark>{{{}, {}}, {u"Galle"_s, {}}} << "My Location";
        QTest::newRow("no placemark") << true << QList<Placemark>{} << "My Location";
        QTest::newRow("geocoder error") << false << QList<Placemark>{} << "My Location";
    }
    void placeName()
    {
        QFETCH(bool, succeeded);
        QFETCH(QList<Placemark>, placemarks);
        Rig rig(LocationService::Authorized);
        WeatherManager &manager = rig.create();
        rig.location.deliver({{7.29, 80.63}});
        rig.scheduler.runPending();
        rig.geocoder.answer({succeeded, placemarks, succeeded ? QString() : u"network down"_s});
        QTEST(manager.locationName(), "name");
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
        QTest::newRow("denied before") << 2 << 0 << 0 << true << true << false;
        QTest::newRow("granted") << 3 << 0 << 1 << false << false << true;
        QTest::newRow("unknown state") << 9 << 0 << 0 << false << true << false;
    }
    void requestLocationAccess()
    {
        QFETCH(int, status);
        QFETCH(bool, settingsOpened);
        QFETCH(bool, fallback);
        Rig rig(LocationService::NotDetermined);
        WeatherManager &manager = rig.create();
        rig.locateIn({60.17, 24.94}, u"Helsinki"_s, 2);
        rig.location.setStatus(status);
        rig.location.locationRequests = 0;

        manager.requestLocationAccess();
        QTEST(rig.location.authorizationRequests, "authorizationRequests");
        QTEST(rig.location.locationRequests, "locationRequests");
        QCOMPARE(rig.settings.opened,
                 settingsOpened ? QList{SystemSettingsOpener::Page::LocationPrivacy} : QList<SystemSettingsOpener::Page>{});
        QCOMPARE(manager.locationName(), fallback ? u"Colombo"_s : u"Helsinki"_s);
        QTEST(manager.isLocationAuthorized(), "authorized");
        QVERIFY(rig.awaitAnswers(fallback ? 3 : 2));
        if (fallback)
            QCOMPARE(rig.forecastQuery(2), coordinatesQuery(u"6.9271"_s, u"79.8612"_s));
    }

    void authorizationChanges_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("authorized");
        QTest::addColumn<int>("locationRequests");
        QTest::addColumn<int>("forecasts");
        QTest::newRow("granted") << 3 << true << 1 << 1;
        QTest::newRow("denied") << 2 << false << 0 << 2;
        QTest::newRow("back to not determined") << 0 << false << 0 << 1;
        QTest::newRow("unknown state") << 7 << false << 0 << 1;
    }
    void authorizationChanges()
    {
        QFETCH(int, status);
        QFETCH(bool, authorized);
        QFETCH(int, forecasts);
        Rig rig(LocationService::NotDetermined);
        WeatherManager &manager = rig.create();
        QVERIFY(rig.awaitAnswers(1));
        QSignalSpy authorizedSpy(&manager, &WeatherManager::isLocationAuthorizedChanged);

        rig.location.changeAuthorization(status);
        QCOMPARE(manager.isLocationAuthorized(), authorized);
        QCOMPARE(authorizedSpy.count(), authorized ? 1 : 0);
        QTEST(rig.location.locationRequests, "locationRequests");
        QVERIFY(rig.awaitAnswers(forecasts));
        QCOMPARE(manager.locationName(), u"Colombo"_s);
    }

    void positionFailureReturnsToTheFallbackCity()
    {
        Rig rig(LocationService::Authorized);
        WeatherManager &manager = rig.create();
        rig.locateIn({64.15, -21.94}, u"Reykjavik"_s, 1);
        rig.location.fail(u"timeout"_s);
        QCOMPARE(manager.locationName(), u"Colombo"_s);
        QVERIFY(rig.awaitAnswers(2));
        QCOMPARE(rig.forecastQuery(1), coordinatesQuery(u"6.9271"_s, u"79.8612"_s));
    }

    void lastForecastToFinishWins()
    {
        Reply slow = forecast(10, 9, 0);
        slow.hold = true;
        Rig rig(LocationService::Authorized, std::nullopt);
        rig.server.enqueueReply(kForecastPath, slow);
        rig.server.enqueueReply(kForecastPath, forecast(20, 19, 95));
        WeatherManager &manager = rig.create();

        rig.location.deliver({{1.0, 2.0}});
        rig.scheduler.runPending();
        QTRY_COMPARE(rig.server.heldCount(), 1);
        // While the first forecast waits, the place name and a second forecast go on.
        rig.geocoder.answer({Placemark{u"First"_s, QString()}});
        QCOMPARE(manager.locationName(), u"First"_s);
        rig.location.deliver({{3.0, 4.0}});
        QVERIFY(rig.awaitAnswers(1));
        QCOMPARE(manager.conditionName(), u"Storm"_s);

        QVERIFY(rig.server.release());
        QVERIFY(rig.awaitAnswers(2));
        QCOMPARE(rig.forecastQuery(0), coordinatesQuery(u"1.0"_s, u"2.0"_s));
        QCOMPARE(shown(manager), (QStringList{"10", "9", "sun.max.fill", "Clear"}));
    }

    void managerGoneBeforeTheAnswers()
    {
        Reply slow = forecast(10, 9, 0);
        slow.hold = true;
        Rig rig(LocationService::Authorized, slow);
        rig.create();
        rig.location.deliver({{1.0, 2.0}});
        rig.scheduler.runPending();
        QTRY_COMPARE(rig.server.heldCount(), 1);
        rig.manager.reset();
        rig.geocoder.answer({Placemark{u"Late"_s, QString()}});
        rig.server.releaseAll();
        QTest::qWait(20);
        QCOMPARE(rig.http.answered, 0);
    }
};

QTEST_GUILESS_MAIN(TestWeatherManager)
#include "tst_weathermanager.moc"
