#include "platform/linux/ServiceAddresses.h"

#include <QTest>

using namespace talvo;

class TestServiceAddresses : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { qunsetenv("TALVO_TEST_SERVICE_URL"); }

    void environmentOverridesTheBuildDefault_data()
    {
        QTest::addColumn<QByteArray>("environment");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("logged");
        const QString fallback = QStringLiteral("https://built.example");
        QTest::newRow("unset") << QByteArray() << fallback << false;
        QTest::newRow("loopback") << QByteArray("http://127.0.0.1:8080") << QStringLiteral("http://127.0.0.1:8080") << false;
        QTest::newRow("with a path") << QByteArray(" https://mirror.example/weather ")
                                     << QStringLiteral("https://mirror.example/weather") << false;
        QTest::newRow("no scheme") << QByteArray("mirror.example") << fallback << true;
        QTest::newRow("other scheme") << QByteArray("file:///tmp/forecast") << fallback << true;
        QTest::newRow("with a query") << QByteArray("https://mirror.example/?key=1") << fallback << true;
        QTest::newRow("malformed") << QByteArray("https://exa mple.com") << fallback << true;
    }
    void environmentOverridesTheBuildDefault()
    {
        QFETCH(QByteArray, environment);
        QFETCH(QString, expected);
        QFETCH(bool, logged);
        if (!environment.isEmpty())
            qputenv("TALVO_TEST_SERVICE_URL", environment);
        if (logged)
            QTest::ignoreMessage(QtInfoMsg, qPrintable(QStringLiteral("Ignoring TALVO_TEST_SERVICE_URL, not an http(s) address: ")
                                                       + QString::fromUtf8(environment.trimmed())));
        QCOMPARE(serviceBase("TALVO_TEST_SERVICE_URL", QStringLiteral("https://built.example")), QUrl(expected));
    }

    void userAgentNamesTheProgram()
    {
        QVERIFY(serviceUserAgent().startsWith("Talvo/"));
    }
};

QTEST_GUILESS_MAIN(TestServiceAddresses)
#include "tst_serviceaddresses.moc"
