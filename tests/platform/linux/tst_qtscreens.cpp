#include "platform/linux/QtScreens.h"

#include <QTest>

using namespace talvo;

using Housings = QHash<QString, QSizeF>;

class TestQtScreens : public QObject
{
    Q_OBJECT
private slots:
    void parsesDeclaredHousings_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<Housings>("expected");
        QTest::addColumn<int>("ignored"); // entries logged and dropped
        QTest::newRow("unset") << QString() << Housings() << 0;
        QTest::newRow("primary") << QStringLiteral("200x32") << Housings{{QString(), QSizeF(200, 32)}} << 0;
        QTest::newRow("named, spaced, fractional")
            << QStringLiteral(" eDP-1 : 184.5 x 38 ") << Housings{{QStringLiteral("eDP-1"), QSizeF(184.5, 38)}} << 0;
        QTest::newRow("two outputs") << QStringLiteral("eDP-1:200x32,HDMI-1:180x30")
                                     << Housings{{QStringLiteral("eDP-1"), QSizeF(200, 32)},
                                                 {QStringLiteral("HDMI-1"), QSizeF(180, 30)}}
                                     << 0;
        QTest::newRow("garbage kept out") << QStringLiteral("wide,200x32") << Housings{{QString(), QSizeF(200, 32)}} << 1;
        QTest::newRow("zero height") << QStringLiteral("200x0") << Housings() << 1;
        QTest::newRow("negative") << QStringLiteral("-200x30") << Housings() << 1;
        QTest::newRow("missing height") << QStringLiteral("eDP-1:200x") << Housings() << 1;
        QTest::newRow("empty pieces") << QStringLiteral(",,") << Housings() << 0;
    }
    void parsesDeclaredHousings()
    {
        QFETCH(QString, value);
        QFETCH(int, ignored);
        for (int i = 0; i < ignored; ++i)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Ignoring camera housing")));
        QTEST(QtScreens::parseHousings(value), "expected");
    }

};

QTEST_GUILESS_MAIN(TestQtScreens)
#include "tst_qtscreens.moc"
