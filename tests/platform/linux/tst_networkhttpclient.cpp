#include "fakes/LoopbackHttpServer.h"
#include "fakes/VirtualScheduler.h"
#include "platform/linux/NetworkHttpClient.h"

#include <QTest>

#include <optional>

using namespace talvo;
using Outcome = HttpResponse::Outcome;
using Reply = LoopbackHttpServer::Reply;

Q_DECLARE_METATYPE(LoopbackHttpServer::Reply)

class TestNetworkHttpClient : public QObject
{
    Q_OBJECT

    struct Call
    {
        std::optional<HttpResponse> response;
        int calls = 0;
    };

    static HttpRequest request(const QUrl &url, qint64 maxBodyBytes = 1024)
    {
        HttpRequest r;
        r.url = url;
        r.maxBodyBytes = maxBodyBytes;
        r.timeout = std::chrono::milliseconds(5000);
        return r;
    }

    static HttpClient::Callback recordInto(Call &call)
    {
        return [&call](const HttpResponse &response) {
            call.response = response;
            ++call.calls;
        };
    }

private slots:
    void outcomes_data()
    {
        QTest::addColumn<Reply>("reply");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");

        const QByteArray kilobyte(1024, 'x');
        Reply truncated = Reply::json(R"({"current":{"temperature_2m":21.5}})");
        truncated.truncateAfter = 10;
        Reply declaredTooLong = Reply::text(kilobyte + 'y');
        Reply unboundedTooLong = Reply::text(QByteArray(64 * 1024, 'z'));
        unboundedTooLong.sendContentLength = false;
        Reply unboundedSmall = Reply::text("ends at close");
        unboundedSmall.sendContentLength = false;
        Reply dropped;
        dropped.closeWithoutReply = true;

        QTest::newRow("ok") << Reply::json(R"({"a":1})") << int(Outcome::Completed) << 200 << QByteArray(R"({"a":1})");
        QTest::newRow("exactly at the limit") << Reply::text(kilobyte) << int(Outcome::Completed) << 200 << kilobyte;
        QTest::newRow("error status keeps its body")
            << Reply::json(R"({"error":true})", 400) << int(Outcome::Completed) << 400 << QByteArray(R"({"error":true})");
        QTest::newRow("body ended by close") << unboundedSmall << int(Outcome::Completed) << 200 << QByteArray("ends at close");
        QTest::newRow("truncated") << truncated << int(Outcome::Truncated) << 200 << QByteArray();
        QTest::newRow("declared length over limit") << declaredTooLong << int(Outcome::TooLarge) << 200 << QByteArray();
        QTest::newRow("streamed body over limit") << unboundedTooLong << int(Outcome::TooLarge) << 200 << QByteArray();
        QTest::newRow("closed without reply") << dropped << int(Outcome::TransportError) << 0 << QByteArray();
    }
    void outcomes()
    {
        QFETCH(Reply, reply);
        QFETCH(int, outcome);
        QFETCH(QByteArray, body);

        LoopbackHttpServer server;
        QVERIFY(server.listen());
        server.setReply(QStringLiteral("/data"), reply);
        VirtualScheduler scheduler;
        NetworkHttpClient client(scheduler);
        Call call;
        client.get(request(server.url(QStringLiteral("/data"))), this, recordInto(call));
        QCOMPARE(call.calls, 0); // never from inside get()

        QTRY_COMPARE(call.calls, 1);
        QCOMPARE(int(call.response->outcome), outcome);
        QTEST(call.response->statusCode, "status");
        QCOMPARE(call.response->body, body);
        QCOMPARE(call.response->errorDescription.isEmpty(), outcome == int(Outcome::Completed));
        QTest::qWait(20); // a late signal must not answer a second time
        QCOMPARE(call.calls, 1);
    }

    void failsWithoutAnExchange_data()
    {
        QTest::addColumn<QUrl>("url");
        quint16 closedPort = 0;
        {
            LoopbackHttpServer gone;
            QVERIFY(gone.listen());
            closedPort = gone.port();
        }
        QTest::newRow("connection refused") << QUrl(QStringLiteral("http://127.0.0.1:%1/x").arg(closedPort));
        QTest::newRow("file") << QUrl(QStringLiteral("file:///etc/passwd"));
        QTest::newRow("empty") << QUrl();
    }
    void failsWithoutAnExchange()
    {
        QFETCH(QUrl, url);
        VirtualScheduler scheduler;
        NetworkHttpClient client(scheduler);
        Call call;
        client.get(request(url), this, recordInto(call));
        QCOMPARE(call.calls, 0); // never from inside get()
        QTRY_COMPARE((scheduler.runPending(), call.calls), 1);
        QCOMPARE(call.response->outcome, Outcome::TransportError);
        QVERIFY(call.response->isTransportFailure());
    }

    void slowReplyTimesOutOnTheSchedulerClock()
    {
        LoopbackHttpServer server;
        QVERIFY(server.listen());
        Reply held = Reply::json(R"({"late":true})");
        held.hold = true;
        server.setReply(QStringLiteral("/slow"), held);
        VirtualScheduler scheduler;
        NetworkHttpClient client(scheduler);
        Call call;
        client.get(request(server.url(QStringLiteral("/slow"))), this, recordInto(call));
        QTRY_COMPARE(server.heldCount(), 1);

        scheduler.advance(4999);
        QCOMPARE(call.calls, 0);
        scheduler.advance(1);
        QCOMPARE(call.calls, 1);
        QCOMPARE(call.response->outcome, Outcome::TimedOut);
        QVERIFY(call.response->isTransportFailure());

        server.releaseAll();
        QTest::qWait(20);
        QCOMPARE(call.calls, 1);
    }

    void goneContextHearsNothing()
    {
        LoopbackHttpServer server;
        QVERIFY(server.listen());
        server.setReply(QStringLiteral("/data"), Reply::json("{}"));
        VirtualScheduler scheduler;
        NetworkHttpClient client(scheduler);
        Call call;
        auto context = std::make_unique<QObject>();
        client.get(request(server.url(QStringLiteral("/data"))), context.get(), recordInto(call));
        context.reset();
        QTRY_COMPARE(server.requestCount(), 1);
        QTest::qWait(50);
        QCOMPARE(call.calls, 0);
    }

    void destroyingTheClientEndsExchangesSilently()
    {
        LoopbackHttpServer server;
        QVERIFY(server.listen());
        Reply held = Reply::json("{}");
        held.hold = true;
        server.setReply(QStringLiteral("/data"), held);
        VirtualScheduler scheduler;
        Call call;
        {
            NetworkHttpClient client(scheduler);
            client.get(request(server.url(QStringLiteral("/data"))), this, recordInto(call));
            QTRY_COMPARE(server.heldCount(), 1);
        }
        scheduler.advance(10000); // the timeout must be gone with the client
        server.releaseAll();
        QTest::qWait(20);
        QCOMPARE(call.calls, 0);
    }
};

QTEST_GUILESS_MAIN(TestNetworkHttpClient)
#include "tst_networkhttpclient.moc"
