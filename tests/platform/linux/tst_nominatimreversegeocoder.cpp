#include "fakes/LoopbackHttpServer.h"
#include "fakes/VirtualScheduler.h"
#include "platform/linux/NetworkHttpClient.h"
#include "platform/linux/NominatimReverseGeocoder.h"

#include <QTest>

#include <limits>

using namespace talvo;
using Reply = LoopbackHttpServer::Reply;

Q_DECLARE_METATYPE(LoopbackHttpServer::Reply)

namespace {

const QString kReverse = QStringLiteral("/reverse");
const QByteArray kUserAgent = "Talvo/9.9 (test)";

struct Rig
{
    LoopbackHttpServer server;
    VirtualScheduler scheduler;
    NetworkHttpClient http{scheduler};
    std::unique_ptr<NominatimReverseGeocoder> geocoder;
    QList<ReverseGeocodeResult> results;

    Rig()
    {
        QVERIFY(server.listen());
        geocoder = std::make_unique<NominatimReverseGeocoder>(http, scheduler, server.url(QStringLiteral("/")),
                                                              kUserAgent);
    }
    void geocode(double latitude, double longitude, const QObject *context)
    {
        geocoder->reverseGeocode({latitude, longitude}, context,
                                 [this](const ReverseGeocodeResult &result) { results.append(result); });
    }
    // Runs posted work and waits for `count` answers in all.
    bool awaitResults(int count)
    {
        return QTest::qWaitFor([&] {
            scheduler.runPending();
            return results.size() >= count;
        }, 5000) && results.size() == count;
    }
};

} // namespace

class TestNominatimReverseGeocoder : public QObject
{
    Q_OBJECT
private slots:
    void placemarkFromTheReply_data()
    {
        QTest::addColumn<Reply>("reply");
        QTest::addColumn<bool>("succeeded");
        QTest::addColumn<int>("placemarks");
        QTest::addColumn<QString>("locality");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("logged");

        Reply truncated = Reply::json(R"({"name":"Mitte","address":{"city":"Berlin"}})");
        truncated.truncateAfter = 12;
        QTest::newRow("city") << Reply::json(R"({"name":"Mitte","address":{"suburb":"Mitte","city":"Berlin"}})")
                              << true << 1 << "Berlin" << "Mitte" << QString();
        QTest::newRow("town") << Reply::json(R"({"name":"","address":{"town":"Ella","county":"Badulla"}})") << true
                              << 1 << "Ella" << "" << QString();
        QTest::newRow("city before town")
            << Reply::json(R"({"address":{"town":"Small","city":"Large"}})") << true << 1 << "Large" << "" << QString();
        QTest::newRow("name without locality")
            << Reply::json(R"({"name":"Horton Plains","address":{"state":"Central Province"}})") << true << 1 << ""
            << "Horton Plains" << QString();
        QTest::newRow("nothing to name") << Reply::json(R"({"name":"","address":{"country":"Sri Lanka"}})") << true
                                         << 0 << "" << "" << QString();
        QTest::newRow("no place there") << Reply::json(R"({"error":"Unable to geocode"})") << true << 0 << "" << ""
                                        << QString();
        QTest::newRow("not JSON") << Reply::text("<html>maintenance</html>") << false << 0 << "" << ""
                                  << "Unreadable reply: not a JSON object";
        QTest::newRow("refused") << Reply::json(R"({"error":"blocked"})", 429) << false << 0 << "" << ""
                                 << "The service answered with status 429";
        QTest::newRow("truncated") << truncated << false << 0 << "" << "" << "*";
    }
    void placemarkFromTheReply()
    {
        QFETCH(Reply, reply);
        QFETCH(bool, succeeded);
        QFETCH(int, placemarks);
        QFETCH(QString, locality);
        QFETCH(QString, name);
        QFETCH(QString, logged);
        Rig rig;
        rig.server.setReply(kReverse, reply);
        if (logged == QLatin1String("*"))
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(".+")));
        else if (!logged.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, qPrintable(logged));
        rig.geocode(6.9, 79.8, this);
        QVERIFY(rig.awaitResults(1));
        const ReverseGeocodeResult result = rig.results.constFirst();
        QCOMPARE(result.succeeded, succeeded);
        QCOMPARE(result.errorDescription.isEmpty(), succeeded);
        QCOMPARE(result.placemarks.size(), placemarks);
        if (placemarks) {
            QCOMPARE(result.placemarks.constFirst().locality, locality);
            QCOMPARE(result.placemarks.constFirst().name, name);
        }
    }

    void requestNamesTheProgramAndRoundsThePosition()
    {
        Rig rig;
        rig.server.setReply(kReverse, Reply::json(R"({"address":{"city":"Berlin"}})"));
        rig.geocode(52.520008, 13.404954, this);
        QVERIFY(rig.awaitResults(1));
        const LoopbackHttpServer::Request request = rig.server.requests().constFirst();
        QCOMPARE(request.path, kReverse);
        QCOMPARE(request.query.queryItemValue(QStringLiteral("format")), QStringLiteral("jsonv2"));
        QCOMPARE(request.query.queryItemValue(QStringLiteral("lat")), QStringLiteral("52.520"));
        QCOMPARE(request.query.queryItemValue(QStringLiteral("lon")), QStringLiteral("13.405"));
        QCOMPARE(request.query.queryItemValue(QStringLiteral("addressdetails")), QStringLiteral("1"));
        QCOMPARE(request.header("User-Agent"), kUserAgent);
    }

    void requestsStartAtLeastASecondApart()
    {
        Rig rig;
        rig.server.setReply(kReverse, Reply::json(R"({"address":{"town":"Somewhere"}})"));
        rig.geocode(10.0, 10.0, this);
        rig.geocode(20.0, 20.0, this);
        rig.geocode(30.0, 30.0, this);
        QVERIFY(rig.awaitResults(1));
        rig.scheduler.advance(999);
        QTest::qWait(30);
        QCOMPARE(rig.server.requestCount(), 1);
        rig.scheduler.advance(1);
        QVERIFY(rig.awaitResults(2));
        QCOMPARE(rig.server.requestCount(), 2);
        rig.scheduler.advance(1000);
        QVERIFY(rig.awaitResults(3));
        QCOMPARE(rig.server.requests().at(2).query.queryItemValue(QStringLiteral("lat")), QStringLiteral("30.000"));
    }

    void answersAreReusedPerRoundedPosition()
    {
        Rig rig;
        rig.server.setReply(kReverse, Reply::json(R"({"address":{"city":"Kandy"}})"));
        rig.geocode(7.2906, 80.6337, this);
        QVERIFY(rig.awaitResults(1));
        rig.geocode(7.29061, 80.63374, this); // the same cell
        QCOMPARE(rig.results.size(), 1);     // never inside the call
        QVERIFY(rig.awaitResults(2));
        QCOMPARE(rig.server.requestCount(), 1);
        QCOMPARE(rig.results.at(1).placemarks.constFirst().locality, QStringLiteral("Kandy"));

        rig.scheduler.advance(1000);
        rig.geocode(7.2916, 80.6337, this); // the next cell north
        QVERIFY(rig.awaitResults(3));
        QCOMPARE(rig.server.requestCount(), 2);
    }

    void positionOffTheMapFailsWithoutARequest_data()
    {
        QTest::addColumn<double>("latitude");
        QTest::addColumn<double>("longitude");
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << 0.0;
        QTest::newRow("latitude beyond the pole") << 91.0 << 0.0;
        QTest::newRow("infinite longitude") << 0.0 << std::numeric_limits<double>::infinity();
    }
    void positionOffTheMapFailsWithoutARequest()
    {
        QFETCH(double, latitude);
        QFETCH(double, longitude);
        Rig rig;
        rig.geocode(latitude, longitude, this);
        QVERIFY(rig.results.isEmpty());
        rig.scheduler.runPending();
        QCOMPARE(rig.results.size(), 1);
        QVERIFY(!rig.results.constFirst().succeeded);
        QCOMPARE(rig.server.requestCount(), 0);
    }

    void goneCallerHearsNothing()
    {
        Rig rig;
        Reply held = Reply::json(R"({"address":{"city":"Late"}})");
        held.hold = true;
        rig.server.setReply(kReverse, held);
        auto caller = std::make_unique<QObject>();
        rig.geocode(1.0, 1.0, caller.get());
        rig.scheduler.runPending();
        QTRY_COMPARE(rig.server.heldCount(), 1);
        caller.reset();
        rig.server.releaseAll();
        QTest::qWait(30);
        QVERIFY(rig.results.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestNominatimReverseGeocoder)
#include "tst_nominatimreversegeocoder.moc"
