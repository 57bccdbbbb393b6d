#include "platform/linux/MicScriptHandler.h"
#include "platform/linux/PulseAudioInput.h"
#include "platform/linux/ScriptBridge.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace talvo;

// The microphone scripts against a real PulseAudio server with a null source,
// started by the test in a private runtime folder.
class TestScriptBridge : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        const QString pulseaudio = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
        if (pulseaudio.isEmpty())
            QSKIP("pulseaudio is not installed");
        QVERIFY(m_runtime.isValid());
        m_socket = m_runtime.filePath(QStringLiteral("native"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_runtime.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_runtime.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_runtime.filePath(QStringLiteral("config")));
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        m_server.setProcessEnvironment(env);
        m_server.start(pulseaudio,
                       {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                        QStringLiteral("--disable-shm=yes"), QStringLiteral("--use-pid-file=no"),
                        QStringLiteral("-L"), QStringLiteral("module-null-source source_name=testmic"),
                        QStringLiteral("-L"),
                        QStringLiteral("module-native-protocol-unix auth-anonymous=1 socket=") + m_socket});
        QVERIFY(m_server.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_socket), 10000);
        qputenv("PULSE_SERVER", ("unix:" + m_socket).toUtf8());

        auto input = std::make_shared<PulseAudioInput>(3000);
        m_bridge.addHandler(std::make_unique<MicScriptHandler>(input));
        QTRY_VERIFY_WITH_TIMEOUT(input->volumePercent().has_value(), 10000);
    }

    void cleanupTestCase()
    {
        m_server.terminate();
        m_server.waitForFinished(5000);
    }

    void setThenReadInputVolume_data()
    {
        QTest::addColumn<QString>("setText");
        QTest::addColumn<int>("expected");
        QTest::newRow("65") << QStringLiteral("set volume input volume 65") << 65;
        QTest::newRow("mute") << QStringLiteral("set volume input volume 0") << 0;
        QTest::newRow("full") << QStringLiteral("set volume input volume 100") << 100;
        QTest::newRow("above full is capped") << QStringLiteral("set volume input volume 250") << 100;
        QTest::newRow("7") << QStringLiteral("set volume input volume 7") << 7;
    }
    void setThenReadInputVolume()
    {
        QFETCH(QString, setText);
        QFETCH(int, expected);
        QVERIFY(m_bridge.runScript(setText).succeeded());
        const ScriptResult read = m_bridge.runScript(QStringLiteral("input volume of (get volume settings)"));
        QVERIFY2(read.succeeded(), qPrintable(read.errorDescription));
        QCOMPARE(read.reply->int32Value, expected);
    }

    void unknownTextsAreRefused_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("error");
        QTest::newRow("shell") << QStringLiteral("do shell script \"rm -rf /\"\nmore")
                               << QStringLiteral("Unsupported script: \"do shell script \"rm -rf /\"\"");
        QTest::newRow("trailing text") << QStringLiteral("set volume input volume 5; beep")
                                       << QStringLiteral("Unsupported script: \"set volume input volume 5; beep\"");
        QTest::newRow("negative") << QStringLiteral("set volume input volume -5")
                                  << QStringLiteral("Unsupported script: \"set volume input volume -5\"");
        QTest::newRow("case differs") << QStringLiteral("Input Volume of (get volume settings)")
                                      << QStringLiteral("Unsupported script: \"Input Volume of (get volume settings)\"");
    }
    void unknownTextsAreRefused()
    {
        QFETCH(QString, source);
        QFETCH(QString, error);
        const ScriptResult result = m_bridge.runScript(source);
        QVERIFY(!result.succeeded());
        QCOMPARE(result.errorDescription, error);
    }

    void emptyTextCreatesNoScript()
    {
        QVERIFY(!m_bridge.createScript(QString()));
        QVERIFY(!m_bridge.createScript(QStringLiteral("  \n")));
    }

    void noServerIsAnErrorNotAHang()
    {
        qputenv("PULSE_SERVER", ("unix:" + m_runtime.filePath(QStringLiteral("nothing-here"))).toUtf8());
        PulseAudioInput input(500);
        PulseAudioInput eager(500, 0);
        QVERIFY(!input.volumePercent());
        QVERIFY(!eager.volumePercent());
        QVERIFY(!input.lastError().isEmpty());
        // The server comes up: the eager input finds it at once, the other
        // one only after its pause between attempts.
        qputenv("PULSE_SERVER", ("unix:" + m_socket).toUtf8());
        QVERIFY(!input.volumePercent());
        QVERIFY(!input.lastError().isEmpty());
        QVERIFY(eager.volumePercent());
    }

private:
    QTemporaryDir m_runtime;
    QString m_socket;
    QProcess m_server;
    ScriptBridge m_bridge;
};

QTEST_GUILESS_MAIN(TestScriptBridge)
#include "tst_scriptbridge.moc"
