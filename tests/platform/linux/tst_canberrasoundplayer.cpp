#include "fakes/InlineWorkQueue.h"
#include "platform/SerialWorkQueue.h"
#include "platform/linux/CanberraSoundPlayer.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace talvo;

namespace {

QStringList g_lines;

void recordLine(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtInfoMsg)
        g_lines.append(message);
}

} // namespace

class TestCanberraSoundPlayer : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // A sound server that is not there, and no other backend to fall
        // back to: what a session without audio looks like.
        qputenv("PULSE_SERVER", "unix:/nonexistent/talvo-test-pulse");
        qputenv("CANBERRA_DRIVER", "pulse");
        qunsetenv("PULSE_RUNTIME_PATH");
    }
    void init()
    {
        g_lines.clear();
        qInstallMessageHandler(recordLine);
    }
    void cleanup() { qInstallMessageHandler(nullptr); }

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
        QVERIFY(!id.isEmpty());
        // Installed by the setup (sound-theme-freedesktop).
        QVERIFY2(QFileInfo::exists(QStringLiteral("/usr/share/sounds/freedesktop/stereo/%1.oga").arg(id)),
                 qPrintable(id));
    }

    void withoutASoundServerNothingIsLoggedTwice()
    {
        InlineWorkQueue queue;
        CanberraSoundPlayer player(queue);
        for (int i = 0; i < 5; ++i) {
            player.play(QStringLiteral("Pop"));
            player.play(QStringLiteral("Basso"));
        }
        QCOMPARE(queue.dispatchedCount(), 10);
        QCOMPARE(g_lines.size(), 1);
        QVERIFY2(g_lines.constFirst().startsWith(QLatin1String("[SoundPlayer] cannot play sounds: ")),
                 qPrintable(g_lines.constFirst()));
    }

    void playsThroughASoundServer()
    {
        // A private server with a null sink, so nothing is heard.
        QTemporaryDir runtime;
        const QString socket = runtime.filePath(QStringLiteral("pulse.sock"));
        QProcess server;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        environment.insert(QStringLiteral("HOME"), runtime.path());
        server.setProcessEnvironment(environment);
        server.start(QStringLiteral("pulseaudio"),
                     {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                      QStringLiteral("-L"), QStringLiteral("module-null-sink"), QStringLiteral("-L"),
                      QStringLiteral("module-native-protocol-unix socket=") + socket});
        if (!server.waitForStarted(5000))
            QSKIP("pulseaudio is not installed");
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(socket), 10000);
        qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(socket));
        {
            SerialWorkQueue queue(QStringLiteral("sound"));
            CanberraSoundPlayer player(queue);
            player.play(QStringLiteral("Pop"));
            player.play(QStringLiteral("Tink"));
            QTest::qWait(300);
        }
        qputenv("PULSE_SERVER", "unix:/nonexistent/talvo-test-pulse");
        server.terminate();
        server.waitForFinished(5000);
        QCOMPARE(g_lines, QStringList());
    }

    void unknownNamesAreReportedOnceAndNotPlayed()
    {
        InlineWorkQueue queue;
        CanberraSoundPlayer player(queue);
        player.play(QStringLiteral("Sosumi"));
        player.play(QStringLiteral("Sosumi"));
        player.play(QStringLiteral("pop")); // names are exact
        QCOMPARE(queue.dispatchedCount(), 0);
        QCOMPARE(g_lines, (QStringList{QStringLiteral("[SoundPlayer] no sound named \"Sosumi\""),
                                       QStringLiteral("[SoundPlayer] no sound named \"pop\"")}));
    }
};

QTEST_GUILESS_MAIN(TestCanberraSoundPlayer)
#include "tst_canberrasoundplayer.moc"
