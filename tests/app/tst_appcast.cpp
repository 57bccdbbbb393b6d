#include "app/Appcast.h"

#include <QTest>

using namespace talvo;

class TestAppcast : public QObject
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
        QTest::newRow("build numbers") << QStringLiteral("120") << QStringLiteral("99") << 1;
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
        QTest::newRow("truncated") << QByteArray("<rss><channel>") << false << 0 << QString() << QString();
        QTest::newRow("not rss") << QByteArray("<html><body>502</body></html>") << false << 0 << QString() << QString();
        QTest::newRow("empty") << QByteArray() << false << 0 << QString() << QString();
    }
    void parseFeeds()
    {
        QFETCH(QByteArray, xml);
        QFETCH(bool, parses);
        QFETCH(int, itemCount);
        QFETCH(QString, newestVersion);
        QFETCH(QString, newestPage);
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
            QCOMPARE(newest->version, newestVersion);
            QCOMPARE(newest->pageUrl.toString(), newestPage);
        }
    }
};

QTEST_GUILESS_MAIN(TestAppcast)
#include "tst_appcast.moc"
