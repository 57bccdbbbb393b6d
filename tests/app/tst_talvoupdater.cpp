#include "app/TalvoUpdater.h"
#include "fakes/FakeFileOpener.h"
#include "fakes/LoopbackHttpServer.h"
#include "fakes/VirtualScheduler.h"
#include "platform/QtScheduler.h"
#include "platform/linux/NetworkHttpClient.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

using namespace talvo;
using Reply = LoopbackHttpServer::Reply;

namespace {
QByteArray feed(std::initializer_list<const char *> versions)
{
    QByteArray xml = "<?xml version='1.0'?><rss version='2.0' xmlns:u='urn:appcast'><channel><title>Talvo</title>";
    for (const char *version : versions)
        xml += QByteArray("<item><u:version>") + version + "</u:version><link>https://example.test/v" + version
               + "</link></item>";
    return xml + "</channel></rss>";
}

// The updater talks HTTP for real (to a loopback server); its 24-hour timer
// runs on virtual time.
struct Fixture
{
    Fixture()
    {
        QVERIFY(server.listen());
        updater = std::make_unique<TalvoUpdater>(http, virtualTime, opener, server.url(QStringLiteral("/appcast.xml")),
                                                 QStringLiteral("0.3.1"));
    }
    LoopbackHttpServer server;
    QtScheduler realTime;
    NetworkHttpClient http{realTime};
    VirtualScheduler virtualTime;
    FakeFileOpener opener;
    std::unique_ptr<TalvoUpdater> updater;
};
} // namespace

class TestTalvoUpdater : public QObject
{
    Q_OBJECT
private slots:
    void availabilityFollowsTheFeed_data()
    {
        QTest::addColumn<Reply>("reply");
        QTest::addColumn<bool>("available");
        QTest::addColumn<QString>("logged"); // empty: nothing logged
        QTest::newRow("newer release") << Reply::typed("application/rss+xml", feed({"0.2", "0.4", "0.3.9"})) << true << QString();
        QTest::newRow("same release") << Reply::typed("application/rss+xml", feed({"0.3.1"})) << false << QString();
        QTest::newRow("older releases only") << Reply::typed("application/rss+xml", feed({"0.1", "0.3"})) << false << QString();
        QTest::newRow("zero items") << Reply::typed("application/rss+xml", feed({})) << false << QString();
        QTest::newRow("malformed xml") << Reply::typed("application/rss+xml", "<rss><channel><item>") << false
                                       << QStringLiteral("malformed feed");
        QTest::newRow("not found") << Reply::text("gone", 404) << false << QStringLiteral("status 404");
        Reply dropped;
        dropped.closeWithoutReply = true;
        QTest::newRow("unreachable") << dropped << false << QStringLiteral(".");
    }
    void availabilityFollowsTheFeed()
    {
        QFETCH(Reply, reply);
        QFETCH(bool, available);
        QFETCH(QString, logged);
        Fixture f;
        // A check that fails must clear an earlier finding.
        f.server.enqueueReply(QStringLiteral("/appcast.xml"), Reply::typed("application/rss+xml", feed({"9"})));
        f.server.setReply(QStringLiteral("/appcast.xml"), reply);
        f.updater->start();
        QTRY_VERIFY(f.updater->updateAvailable());
        if (!logged.isEmpty())
            QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("^\\[TalvoUpdater\\] Update check failed: .*")
                                                               + QRegularExpression::escape(logged == u"." ? QString() : logged)));
        QSignalSpy changed(f.updater.get(), &TalvoUpdater::updateAvailableChanged);
        f.virtualTime.advance(std::chrono::hours(24));
        // The network stack may retry a dropped connection once.
        QTRY_VERIFY(f.server.requestCount() >= 2);
        if (!available)
            QTRY_COMPARE(changed.count(), 1);
        QTest::qWait(50);
        QCOMPARE(f.updater->updateAvailable(), available);
        QVERIFY(f.opener.opened.isEmpty()); // scheduled checks never open pages
    }

    void checkingByHandOpensTheDownloadPage()
    {
        Fixture f;
        f.server.setReply(QStringLiteral("/appcast.xml"), Reply::typed("application/rss+xml", feed({"0.3.1"})));
        f.updater->checkForUpdates();
        QTRY_COMPARE(f.server.requestCount(), 1);
        QTest::qWait(50);
        QVERIFY(f.opener.opened.isEmpty());

        f.server.setReply(QStringLiteral("/appcast.xml"), Reply::typed("application/rss+xml", feed({"1.0", "0.5"})));
        f.updater->checkForUpdates();
        QTRY_COMPARE(f.opener.opened.size(), 1);
        QCOMPARE(f.opener.opened.first(), QUrl(QStringLiteral("https://example.test/v1.0")));
        QVERIFY(f.updater->updateAvailable());
    }

    void startChecksOnceThenEveryDay()
    {
        Fixture f;
        f.server.setReply(QStringLiteral("/appcast.xml"), Reply::typed("application/rss+xml", feed({"0.1"})));
        f.updater->start();
        f.updater->start();
        QTRY_COMPARE(f.server.requestCount(), 1);
        f.virtualTime.advance(std::chrono::hours(23));
        QTest::qWait(50);
        QCOMPARE(f.server.requestCount(), 1);
        f.virtualTime.advance(std::chrono::hours(1));
        QTRY_COMPARE(f.server.requestCount(), 2);
    }
};

QTEST_GUILESS_MAIN(TestTalvoUpdater)
#include "tst_talvoupdater.moc"
