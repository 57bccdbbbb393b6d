#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

// The real executable: starts quietly and ends cleanly on the usual signals.
class TestAppStartup : public QObject
{
    Q_OBJECT
private slots:
    void startsSilentlyAndQuitsOnSignal_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
    }
    void startsSilentlyAndQuitsOnSignal()
    {
        QFETCH(int, signalNumber);
        QTemporaryDir home;
        QProcess talvo;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), home.filePath(QStringLiteral("cache")));
        talvo.setProcessEnvironment(env);
        talvo.start(QStringLiteral(TALVO_BINARY), {});
        QVERIFY(talvo.waitForStarted());
        // Give it time to get through start-up before the signal arrives.
        QTest::qWait(700);
        QCOMPARE(talvo.state(), QProcess::Running);
        ::kill(pid_t(talvo.processId()), signalNumber);
        QVERIFY(talvo.waitForFinished(10000));
        QCOMPARE(talvo.exitStatus(), QProcess::NormalExit);
        QCOMPARE(talvo.exitCode(), 0);
        QCOMPARE(QString::fromUtf8(talvo.readAllStandardOutput()), QString());
    }
};

QTEST_GUILESS_MAIN(TestAppStartup)
#include "tst_appstartup.moc"
