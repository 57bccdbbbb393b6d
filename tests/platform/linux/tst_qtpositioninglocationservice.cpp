#include "fakes/VirtualScheduler.h"
#include "platform/linux/QtPositioningLocationService.h"

#include <QGeoPositionInfoSource>
#include <QSignalSpy>
#include <QTest>

using namespace talvo;

namespace {

// A position source the test drives: it counts requests and answers when told.
class ScriptedSource final : public QGeoPositionInfoSource
{
public:
    explicit ScriptedSource(QObject *parent) : QGeoPositionInfoSource(parent) {}
    QGeoPositionInfo lastKnownPosition(bool) const override { return {}; }
    PositioningMethods supportedPositioningMethods() const override { return AllPositioningMethods; }
    int minimumUpdateInterval() const override { return 0; }
    Error error() const override { return m_error; }
    void startUpdates() override {}
    void stopUpdates() override {}
    void requestUpdate(int timeout) override
    {
        ++requests;
        lastTimeout = timeout;
    }

    void answer(double latitude, double longitude)
    {
        emit positionUpdated(QGeoPositionInfo(QGeoCoordinate(latitude, longitude), QDateTime::currentDateTime()));
    }
    void refuse(Error error)
    {
        m_error = error;
        emit errorOccurred(error);
    }

    int requests = 0;
    int lastTimeout = -1;

private:
    Error m_error = NoError;
};

struct Rig
{
    VirtualScheduler scheduler;
    bool serviceExists = true;
    bool pluginExists = true;
    ScriptedSource *source = nullptr;
    QList<bool> remembered;
    std::unique_ptr<QtPositioningLocationService> service;
    std::unique_ptr<QSignalSpy> authorization, locations, failures;

    void create(bool grantedBefore = false)
    {
        QtPositioningLocationService::Options options;
        options.requestTimeout = std::chrono::milliseconds(20000);
        options.probeService = [this](std::function<void(bool)> answer) {
            scheduler.post(nullptr, [this, answer] { answer(serviceExists); });
        };
        options.createSource = [this](QObject *parent) -> QGeoPositionInfoSource * {
            if (!pluginExists)
                return nullptr;
            source = new ScriptedSource(parent);
            return source;
        };
        options.grantedBefore = grantedBefore;
        options.rememberGrant = [this](bool granted) { remembered.append(granted); };
        service = std::make_unique<QtPositioningLocationService>(scheduler, options);
        authorization = std::make_unique<QSignalSpy>(service.get(), &LocationService::authorizationChanged);
        locations = std::make_unique<QSignalSpy>(service.get(), &LocationService::locationsUpdated);
        failures = std::make_unique<QSignalSpy>(service.get(), &LocationService::failed);
    }
    QList<GeoCoordinate> lastLocations() const
    {
        return locations->last().at(0).value<QList<GeoCoordinate>>();
    }
};

} // namespace

class TestQtPositioningLocationService : public QObject
{
    Q_OBJECT
private slots:
    void noLocationServiceIsRestricted_data()
    {
        QTest::addColumn<bool>("serviceExists");
        QTest::addColumn<bool>("pluginExists");
        QTest::newRow("no GeoClue") << false << true;
        QTest::newRow("no Qt plugin") << true << false;
    }
    void noLocationServiceIsRestricted()
    {
        QFETCH(bool, serviceExists);
        QFETCH(bool, pluginExists);
        Rig rig;
        rig.serviceExists = serviceExists;
        rig.pluginExists = pluginExists;
        rig.create();
        QCOMPARE(rig.service->authorizationStatus(), LocationService::NotDetermined);
        rig.service->requestWhenInUseAuthorization();
        QCOMPARE(rig.authorization->count(), 0);
        rig.scheduler.runPending();
        QCOMPARE(rig.service->authorizationStatus(), LocationService::Restricted);
        QCOMPARE(rig.authorization->count(), 1);
        QCOMPARE(rig.authorization->first().at(0).toInt(), LocationService::Restricted);

        // Asking for a position now fails instead of changing the state again.
        rig.service->requestLocation();
        rig.scheduler.runPending();
        QCOMPARE(rig.authorization->count(), 1);
        QCOMPARE(rig.failures->count(), 1);
    }

    void grantHandsItsPositionToTheNextRequest()
    {
        Rig rig;
        rig.create();
        rig.service->setDesiredAccuracy(1000.0);
        rig.service->requestWhenInUseAuthorization();
        rig.scheduler.runPending();
        QVERIFY(rig.source);
        QCOMPARE(rig.source->requests, 1);
        QCOMPARE(rig.source->lastTimeout, 20000);
        QCOMPARE(rig.source->preferredPositioningMethods(), QGeoPositionInfoSource::NonSatellitePositioningMethods);

        rig.source->answer(6.9, 79.9);
        QCOMPARE(rig.service->authorizationStatus(), LocationService::Authorized);
        QCOMPARE(rig.remembered, QList<bool>{true});
        QCOMPARE(rig.authorization->count(), 0); // announced on a later turn
        QObject::connect(rig.service.get(), &LocationService::authorizationChanged, rig.service.get(),
                         [&rig](int status) {
                             if (status == LocationService::Authorized)
                                 rig.service->requestLocation();
                         });
        rig.scheduler.runPending();
        QCOMPARE(rig.authorization->count(), 1);
        QCOMPARE(rig.locations->count(), 1);
        QCOMPARE(rig.lastLocations(), (QList<GeoCoordinate>{{6.9, 79.9}}));
        QCOMPARE(rig.source->requests, 1);
    }

    void refusalIsDenied_data()
    {
        QTest::addColumn<bool>("grantedBefore");
        QTest::newRow("asked for the first time") << false;
        QTest::newRow("a remembered grant is taken back") << true;
    }
    void refusalIsDenied()
    {
        QFETCH(bool, grantedBefore);
        Rig rig;
        rig.create(grantedBefore);
        QCOMPARE(rig.service->authorizationStatus(),
                 grantedBefore ? LocationService::Authorized : LocationService::NotDetermined);
        if (grantedBefore)
            rig.service->requestLocation();
        else
            rig.service->requestWhenInUseAuthorization();
        rig.scheduler.runPending();
        rig.source->refuse(QGeoPositionInfoSource::AccessError);
        rig.scheduler.runPending();
        QCOMPARE(rig.service->authorizationStatus(), LocationService::Denied);
        QCOMPARE(rig.remembered, QList<bool>{false});
        QCOMPARE(rig.authorization->count(), 1);
        QCOMPARE(rig.authorization->first().at(0).toInt(), LocationService::Denied);
        QCOMPARE(rig.failures->count(), 0);
    }

    void requestsWhileOneRunsShareItsAnswer()
    {
        Rig rig;
        rig.create(true);
        rig.service->requestLocation();
        rig.service->requestLocation();
        rig.scheduler.runPending();
        rig.service->requestLocation();
        rig.scheduler.runPending();
        QCOMPARE(rig.source->requests, 1);
        rig.source->answer(1.5, 2.5);
        rig.scheduler.runPending();
        QCOMPARE(rig.locations->count(), 1);
        QCOMPARE(rig.authorization->count(), 0); // already authorised
        QCOMPARE(rig.lastLocations(), (QList<GeoCoordinate>{{1.5, 2.5}}));
    }

    void failuresOfAWantedPosition_data()
    {
        QTest::addColumn<int>("error"); // -1: an answer without a valid coordinate
        QTest::newRow("timeout") << int(QGeoPositionInfoSource::UpdateTimeoutError);
        QTest::newRow("unknown") << int(QGeoPositionInfoSource::UnknownSourceError);
        QTest::newRow("invalid coordinate") << -1;
    }
    void failuresOfAWantedPosition()
    {
        QFETCH(int, error);
        Rig rig;
        rig.create(true);
        rig.service->requestLocation();
        rig.scheduler.runPending();
        if (error < 0)
            emit rig.source->positionUpdated(QGeoPositionInfo());
        else
            rig.source->refuse(QGeoPositionInfoSource::Error(error));
        QCOMPARE(rig.failures->count(), 0); // announced on a later turn
        rig.scheduler.runPending();
        QCOMPARE(rig.failures->count(), 1);
        QCOMPARE(rig.locations->count(), 0);
        QCOMPARE(rig.service->authorizationStatus(), LocationService::Authorized);

        // The next request starts afresh.
        rig.service->requestLocation();
        rig.scheduler.runPending();
        QCOMPARE(rig.source->requests, 2);
    }
};

QTEST_GUILESS_MAIN(TestQtPositioningLocationService)
#include "tst_qtpositioninglocationservice.moc"
