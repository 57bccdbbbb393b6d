#include "fakes/InlineWorkQueue.h"
#include "fakes/VirtualScheduler.h"
#include "platform/SerialWorkQueue.h"
#include "platform/linux/CanberraSoundPlayer.h"
#include "platform/linux/PulseAudioInput.h"
#include "sources/MicManager.h"

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

// Sounds and the microphone against a real PulseAudio server with a
// null sink and a null source, started by the test in a private runtime
// folder; and what a session without any sound server looks like.
class TestPulseAudioServices : public QObject
{
    Q_OBJECT

    QTemporaryDir m_runtime;
    QString m_socket;
    QProcess m_server;
    std::unique_ptr<PulseAudioInput> m_input;

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
        m_input = std::make_unique<PulseAudioInput>(3000, 0);
        QTRY_VERIFY_WITH_TIMEOUT(m_input->volumePercent().succeeded(), 10000);
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
        g_testHandler = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
            const QString category = QString::fromLatin1(context.category);
            if (type == QtWarningMsg && category.startsWith(u"talvo."))
                g_lines.append(category + QStringLiteral(": ") + message);
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
        QVERIFY2(g_lines.constFirst().startsWith(u"talvo.sound: cannot play sounds: "_s), qPrintable(g_lines.constFirst()));
    }

    void unknownNamesAreReportedOnceAndNotPlayed()
    {
        InlineWorkQueue queue;
        CanberraSoundPlayer player(queue);
        player.play(u"Sosumi"_s);
        player.play(u"Sosumi"_s);
        player.play(u"pop"_s); // names are exact
        QCOMPARE(queue.dispatchedCount(), 0);
        QCOMPARE(g_lines, (QStringList{u"talvo.sound: no sound named \"Sosumi\""_s,
                                       u"talvo.sound: no sound named \"pop\""_s}));
    }

    void noServerMeansAMicrophoneErrorNotAHang()
    {
        PulseAudioInput input(500);
        PulseAudioInput eager(500, 0);
        const auto failed = input.volumePercent();
        QVERIFY(!failed.succeeded());
        QVERIFY(!failed.error.isEmpty());
        QVERIFY(!eager.setMuted(true).succeeded());
        if (m_socket.isEmpty())
            return;
        // The server comes up: the eager input finds it at once, the other
        // one only after its pause between attempts, with the same error.
        useServer(true);
        QCOMPARE(input.isMuted().error, failed.error);
        QVERIFY(eager.volumePercent().succeeded());
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
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("expected");
        QTest::newRow("65") << 65 << 65;
        QTest::newRow("0") << 0 << 0;
        QTest::newRow("boosted above full") << 150 << 150;
        QTest::newRow("below 0 is 0") << -5 << 0;
    }
    void serverSetsThenReadsInputVolume()
    {
        QFETCH(int, set);
        const auto done = m_input->setVolumePercent(set);
        QVERIFY2(done.succeeded(), qPrintable(done.error));
        const auto read = m_input->volumePercent();
        QVERIFY2(read.succeeded(), qPrintable(read.error));
        QTEST(*read.value, "expected");
    }

    void serverSetsThenReadsTheMuteFlag()
    {
        for (const bool muted : {true, false}) {
            QVERIFY(m_input->setMuted(muted).succeeded());
            QCOMPARE(m_input->isMuted().value, std::optional(muted));
        }
    }

    void serverMicrophoneMutesAndComesBack_data()
    {
        QTest::addColumn<int>("volume");
        QTest::addColumn<bool>("flag");
        QTest::newRow("mute flag set at 80") << 80 << true;
        QTest::newRow("boosted to 150") << 150 << false;
    }
    void serverMicrophoneMutesAndComesBack()
    {
        QFETCH(int, volume);
        QFETCH(bool, flag);
        QVERIFY(m_input->setVolumePercent(volume).succeeded());
        QVERIFY(m_input->setMuted(flag).succeeded());
        InlineWorkQueue queue;
        VirtualScheduler scheduler;
        MicManager manager(*m_input, queue, scheduler);
        scheduler.runPending();
        QCOMPARE(manager.isMuted(), flag);
        const auto toggle = [&] {
            manager.toggleMute();
            scheduler.runPending();
        };
        if (!flag) {
            toggle();
            QVERIFY(manager.isMuted());
            QCOMPARE(m_input->volumePercent().value, std::optional(0));
        }
        toggle();
        QVERIFY(!manager.isMuted());
        QCOMPARE(m_input->isMuted().value, std::optional(false));
        QCOMPARE(m_input->volumePercent().value, std::optional(volume));
        QCOMPARE(g_lines, QStringList());
    }
};

QTEST_GUILESS_MAIN(TestPulseAudioServices)
#include "tst_pulseaudioservices.moc"
