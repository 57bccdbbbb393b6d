#include "app/Appcast.h"
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
    void compareVersions_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("sign");
        QTest::newRow("numeric, not text") << QStringLiteral("1.10") << QStringLiteral("1.9") << 1;
        QTest::newRow("missing parts are zero") << QStringLiteral("2") << QStringLiteral("2.0.0") << 0;
        QTest::newRow("older") << QStringLiteral("0.1.0") << QStringLiteral("0.2") << -1;
        QTest::newRow("suffix ignored") << QStringLiteral("1.2b3") << QStringLiteral("1.2") << 0;
        QTest::newRow("huge component does not overflow") << QStringLiteral("1.99999999999999999999999") << QStringLiteral("1.5") << 1;
        QTest::newRow("garbage is zero") << QStringLiteral("abc") << QStringLiteral("0") << 0;
    }
    void compareVersions()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, sign);
        QCOMPARE(talvo::compareVersions(a, b), sign);
        QCOMPARE(talvo::compareVersions(b, a), -sign);
    }

    void parseFeeds_data()
    {
        QTest::addColumn<QByteArray>("xml");
        QTest::addColumn<bool>("parses");
        QTest::addColumn<int>("itemCount");
        QTest::addColumn<QString>("newestVersion");
        QTest::addColumn<QString>("newestPage");
        QTest::newRow("newest item wins, not the first")
            << QByteArray("<rss xmlns:u='urn:x'><channel>"
                          "<item><u:version>3</u:version><link>https://example.test/3</link></item>"
                          "<item><u:version>12</u:version><u:shortVersionString>1.2</u:shortVersionString>"
                          "<link>https://example.test/12</link></item>"
                          "<item><u:version>9</u:version></item></channel></rss>")
            << true << 3 << QStringLiteral("12") << QStringLiteral("https://example.test/12");
        QTest::newRow("version on the enclosure")
            << QByteArray("<rss xmlns:u='urn:x'><channel><item>"
                          "<enclosure url='https://example.test/t.tar.gz' u:version='2.1' u:shortVersionString='2.1'/>"
                          "</item></channel></rss>")
            << true << 1 << QStringLiteral("2.1") << QStringLiteral("https://example.test/t.tar.gz");
        QTest::newRow("items without versions skipped")
            << QByteArray("<rss><channel><item><title>x</title></item></channel></rss>") << true << 0 << QString() << QString();
        QTest::newRow("zero items") << QByteArray("<rss version='2.0'><channel></channel></rss>") << true << 0 << QString() << QString();
        QTest::newRow("non-web link ignored")
            << QByteArray("<rss><channel><item><version>5</version><link>file:///etc/passwd</link>"
                          "<releaseNotesLink>https://example.test/notes</releaseNotesLink></item></channel></rss>")
            << true << 1 << QStringLiteral("5") << QStringLiteral("https://example.test/notes");
        QTest::newRow("malformed") << QByteArray("<rss><channel><item><version>5</item>") << false << 0 << QString() << QString();
        QTest::newRow("not rss") << QByteArray("<html><body>502</body></html>") << false << 0 << QString() << QString();
        QTest::newRow("empty") << QByteArray() << false << 0 << QString() << QString();
    }
    void parseFeeds()
    {
        QFETCH(QByteArray, xml);
        QFETCH(bool, parses);
        QFETCH(int, itemCount);
        QString error;
        const auto items = parseAppcast(xml, &error);
        QCOMPARE(items.has_value(), parses);
        if (!parses) {
            QVERIFY(!error.isEmpty());
            return;
        }
        QCOMPARE(items->size(), itemCount);
        const auto newest = newestItem(*items);
        QCOMPARE(newest.has_value(), itemCount > 0);
        if (newest) {
            QTEST(newest->version, "newestVersion");
            QTEST(newest->pageUrl.toString(), "newestPage");
        }
    }

    void availabilityFollowsTheFeed_data()
    {
        QTest::addColumn<Reply>("reply");
        QTest::addColumn<bool>("available");
        QTest::addColumn<QString>("logged"); // empty: nothing logged
        QTest::newRow("newer release") << Reply::typed("application/rss+xml", feed({"0.2", "0.4", "0.3.9"})) << true << QString();
        QTest::newRow("same release") << Reply::typed("application/rss+xml", feed({"0.3.1"})) << false << QString();
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
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Update check failed: .*")
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
