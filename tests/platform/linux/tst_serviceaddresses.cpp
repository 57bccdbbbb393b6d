#include "platform/linux/ServiceAddresses.h"

#include <QTest>

using namespace talvo;

class TestServiceAddresses : public QObject
{
    Q_OBJECT
private slots:
    void environmentOverridesTheBuildDefault_data()
    {
        QTest::addColumn<QByteArray>("environment");
        QTest::addColumn<QString>("expected"); // empty: the build default, with a log line
        QTest::newRow("unset") << QByteArray() << "https://built.example";
        QTest::newRow("trimmed, with a path") << QByteArray(" https://mirror.example/weather ")
                                              << "https://mirror.example/weather";
        QTest::newRow("no scheme") << QByteArray("mirror.example") << "";
        QTest::newRow("other scheme") << QByteArray("file:///tmp/forecast") << "";
        QTest::newRow("with a query") << QByteArray("https://mirror.example/?key=1") << "";
        QTest::newRow("malformed") << QByteArray("https://exa mple.com") << "";
    }
    void environmentOverridesTheBuildDefault()
    {
        QFETCH(QByteArray, environment);
        QFETCH(QString, expected);
        qputenv("TALVO_TEST_SERVICE_URL", environment);
        const QByteArray logged = "Ignoring TALVO_TEST_SERVICE_URL, not an http(s) address: " + environment.trimmed();
        if (expected.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, logged.constData());
        QCOMPARE(serviceBase("TALVO_TEST_SERVICE_URL", QStringLiteral("https://built.example")),
                 QUrl(expected.isEmpty() ? QStringLiteral("https://built.example") : expected));
    }
};

QTEST_GUILESS_MAIN(TestServiceAddresses)
#include "tst_serviceaddresses.moc"
