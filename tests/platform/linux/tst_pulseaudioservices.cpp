#include "fakes/InlineWorkQueue.h"
#include "platform/SerialWorkQueue.h"
#include "platform/linux/CanberraSoundPlayer.h"
#include "platform/linux/MicScriptHandler.h"
#include "platform/linux/PulseAudioInput.h"
#include "platform/linux/ScriptBridge.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace talvo;
using namespace Qt::StringLiterals;

namespace {

QStringList g_lines;
QtMessageHandler g_testHandler = nullptr;

} // namespace

// Sounds and the microphone scripts against a real PulseAudio server with a
// null sink and a null source, started by the test in a private runtime
// folder; and what a session without any sound server looks like.
class TestPulseAudioServices : public QObject
{
    Q_OBJECT

    QTemporaryDir m_runtime;
    QString m_socket;
    QProcess m_server;
    ScriptBridge m_bridge;

    void useServer(bool real)
    {
        qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(real ? m_socket : m_runtime.filePath(u"nothing-here"_s)));
    }

private slots:
    void initTestCase()
    {
        qputenv("CANBERRA_DRIVER", "pulse"); // no other backend to fall back to
        qunsetenv("PULSE_RUNTIME_PATH");
        const QString pulseaudio = QStandardPaths::findExecutable(u"pulseaudio"_s);
        if (pulseaudio.isEmpty())
            return; // the tests that need it skip
        m_socket = m_runtime.filePath(u"native"_s);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"HOME"_s, m_runtime.path());
        env.insert(u"XDG_RUNTIME_DIR"_s, m_runtime.path());
        env.insert(u"XDG_CONFIG_HOME"_s, m_runtime.filePath(u"config"_s));
        env.remove(u"DBUS_SESSION_BUS_ADDRESS"_s);
        m_server.setProcessEnvironment(env);
        m_server.start(pulseaudio, {u"-n"_s, u"--daemonize=no"_s, u"--exit-idle-time=-1"_s, u"--disable-shm=yes"_s,
                                    u"--use-pid-file=no"_s, u"-L"_s, u"module-null-sink"_s, u"-L"_s,
                                    u"module-null-source source_name=testmic"_s, u"-L"_s,
                                    u"module-native-protocol-unix auth-anonymous=1 socket="_s + m_socket});
        QVERIFY(m_server.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_socket), 10000);
        useServer(true);
        auto input = std::make_shared<PulseAudioInput>(3000, 0);
        m_bridge.addHandler(std::make_unique<MicScriptHandler>(input));
        QTRY_VERIFY_WITH_TIMEOUT(input->volumePercent().has_value(), 10000);
    }
    void cleanupTestCase()
    {
        m_server.terminate();
        m_server.waitForFinished(5000);
    }
    void init()
    {
        if (QByteArray(QTest::currentTestFunction()).startsWith("server") && m_socket.isEmpty())
            QSKIP("pulseaudio is not installed");
        useServer(QByteArray(QTest::currentTestFunction()).startsWith("server"));
        g_lines.clear();
        g_testHandler = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
            if (type == QtInfoMsg)
                g_lines.append(message);
        });
    }
    void cleanup() { qInstallMessageHandler(g_testHandler); }

    void everyInterfaceSoundIsInTheSoundTheme_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"Pop", "Tink", "Basso", "Glass"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void everyInterfaceSoundIsInTheSoundTheme()
    {
        QFETCH(QString, name);
        const QString id = CanberraSoundPlayer::soundThemeId(name);
        // Installed by the setup (sound-theme-freedesktop).
        QVERIFY2(!id.isEmpty() && QFileInfo::exists(u"/usr/share/sounds/freedesktop/stereo/%1.oga"_s.arg(id)),
                 qPrintable(id));
    }

    void withoutASoundServerNothingIsLoggedTwice()
    {
        InlineWorkQueue queue;
        CanberraSoundPlayer player(queue);
        for (int i = 0; i < 5; ++i) {
            player.play(u"Pop"_s);
            player.play(u"Basso"_s);
        }
        QCOMPARE(queue.dispatchedCount(), 10);
        QCOMPARE(g_lines.size(), 1);
        QVERIFY2(g_lines.constFirst().startsWith(u"[SoundPlayer] cannot play sounds: "_s), qPrintable(g_lines.constFirst()));
    }

    void unknownNamesAreReportedOnceAndNotPlayed()
    {
        InlineWorkQueue queue;
        CanberraSoundPlayer player(queue);
        player.play(u"Sosumi"_s);
        player.play(u"Sosumi"_s);
        player.play(u"pop"_s); // names are exact
        QCOMPARE(queue.dispatchedCount(), 0);
        QCOMPARE(g_lines, (QStringList{u"[SoundPlayer] no sound named \"Sosumi\""_s,
                                       u"[SoundPlayer] no sound named \"pop\""_s}));
    }

    void noServerMeansAMicrophoneErrorNotAHang()
    {
        PulseAudioInput input(500);
        PulseAudioInput eager(500, 0);
        QVERIFY(!input.volumePercent());
        QVERIFY(!eager.volumePercent());
        QVERIFY(!input.lastError().isEmpty());
        if (m_socket.isEmpty())
            return;
        // The server comes up: the eager input finds it at once, the other
        // one only after its pause between attempts.
        useServer(true);
        QVERIFY(!input.volumePercent());
        QVERIFY(!input.lastError().isEmpty());
        QVERIFY(eager.volumePercent());
    }

    void serverPlaysSounds()
    {
        {
            SerialWorkQueue queue(u"sound"_s);
            CanberraSoundPlayer player(queue);
            player.play(u"Pop"_s);
            player.play(u"Tink"_s);
            QTest::qWait(300);
        }
        QCOMPARE(g_lines, QStringList());
    }

    void serverSetsThenReadsInputVolume_data()
    {
        QTest::addColumn<QString>("setText");
        QTest::addColumn<int>("expected");
        QTest::newRow("65") << "set volume input volume 65" << 65;
        QTest::newRow("mute") << "set volume input volume 0" << 0;
        QTest::newRow("above full is capped") << "set volume input volume 250" << 100;
    }
    void serverSetsThenReadsInputVolume()
    {
        QFETCH(QString, setText);
        QVERIFY(m_bridge.runScript(setText).succeeded());
        const ScriptResult read = m_bridge.runScript(u"input volume of (get volume settings)"_s);
        QVERIFY2(read.succeeded(), qPrintable(read.errorDescription));
        QTEST(read.reply->int32Value, "expected");
    }

    void unknownScriptTextsAreRefused_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("error");
        QTest::newRow("shell") << "do shell script \"rm -rf /\"\nmore"
                               << "Unsupported script: \"do shell script \"rm -rf /\"\"";
        QTest::newRow("trailing text") << "set volume input volume 5; beep"
                                       << "Unsupported script: \"set volume input volume 5; beep\"";
        QTest::newRow("negative") << "set volume input volume -5"
                                  << "Unsupported script: \"set volume input volume -5\"";
        QTest::newRow("case differs") << "Input Volume of (get volume settings)"
                                      << "Unsupported script: \"Input Volume of (get volume settings)\"";
    }
    void unknownScriptTextsAreRefused()
    {
        QFETCH(QString, source);
        QVERIFY(!m_bridge.createScript(QString()));
        QVERIFY(!m_bridge.createScript(u"  \n"_s));
        const ScriptResult result = m_bridge.runScript(source);
        QVERIFY(!result.succeeded());
        QTEST(result.errorDescription, "error");
    }
};

QTEST_GUILESS_MAIN(TestPulseAudioServices)
#include "tst_pulseaudioservices.moc"
