#include "platform/Log.h"

#include <QTemporaryFile>
#include <QTest>

#include <cstdio>
#include <unistd.h>

using namespace talvo;
using namespace Qt::StringLiterals;

class TestLog : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { QLoggingCategory::setFilterRules(QString()); }

    // What installLogHandler() writes on standard output for one message.
    void linesNameTheirCategory_data()
    {
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QtMsgType>("type");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("failure") << QString() << QtWarningMsg << QByteArray("talvo.calendar: Cannot read /x\n");
        QTest::newRow("notice") << QString() << QtInfoMsg << QByteArray("talvo.calendar: Cannot read /x\n");
        QTest::newRow("chatter is off by default") << QString() << QtDebugMsg << QByteArray();
        QTest::newRow("chatter asked for") << u"talvo.calendar.debug=true"_s << QtDebugMsg
                                           << QByteArray("talvo.calendar: Cannot read /x\n");
    }
    void linesNameTheirCategory()
    {
        QFETCH(QString, rules);
        QFETCH(QtMsgType, type);
        QFETCH(QByteArray, written);
        QLoggingCategory::setFilterRules(rules);

        QTemporaryFile out;
        QVERIFY(out.open());
        std::fflush(stdout);
        const int savedStdout = ::dup(STDOUT_FILENO);
        ::dup2(out.handle(), STDOUT_FILENO);
        const QtMessageHandler testHandler = qInstallMessageHandler(nullptr);
        installLogHandler();
        if (type == QtWarningMsg)
            qCWarning(lcCalendar) << "Cannot read /x";
        else if (type == QtInfoMsg)
            qCInfo(lcCalendar) << "Cannot read /x";
        else
            qCDebug(lcCalendar) << "Cannot read /x";
        qInstallMessageHandler(testHandler);
        std::fflush(stdout);
        ::dup2(savedStdout, STDOUT_FILENO);
        ::close(savedStdout);

        QVERIFY(out.seek(0)); // the handler wrote through the shared offset
        QCOMPARE(out.readAll(), written);
    }
};

QTEST_GUILESS_MAIN(TestLog)
#include "tst_log.moc"
