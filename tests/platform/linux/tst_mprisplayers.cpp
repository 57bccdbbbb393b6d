#include "fakes/FakeMprisPlayer.h"
#include "fakes/LoopbackHttpServer.h"
#include "fakes/PrivateBus.h"
#include "fakes/TestDesktopEntries.h"
#include "fakes/TestImages.h"
#include "platform/PlayerScripts.h"
#include "platform/SerialWorkQueue.h"
#include "platform/linux/MprisPlayerNotifications.h"
#include "platform/linux/MprisPlayers.h"
#include "platform/linux/MprisScriptHandler.h"
#include "platform/linux/ScriptBridge.h"

#include <QDir>
#include <QMutex>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace talvo;

namespace {

const QString kSpotifyName = QStringLiteral("org.mpris.MediaPlayer2.spotify");
const QString kFakeName = QStringLiteral("org.mpris.MediaPlayer2.fakeplayer.instance42");
const QString kOtherName = QStringLiteral("org.mpris.MediaPlayer2.another");
constexpr int kTimeoutMs = 400;

FakeMprisPlayer::Track track(const QString &title, QVariant length = qlonglong(200000000), QString artUrl = {})
{
    return {title, {title + QStringLiteral(" Band"), QStringLiteral("Guest")}, std::move(length), std::move(artUrl)};
}

} // namespace

// The MPRIS side of the players on a session bus of the test's own, against players the
// test serves there itself.
class TestMprisPlayers : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_data;
    PrivateBus m_bus;
    SerialWorkQueue m_queue{QStringLiteral("test.scripts")};

    // Scripts run where the program runs them: off the main thread, which
    // keeps serving the fake players meanwhile.
    ScriptResult run(ScriptBridge &bridge, const QString &text)
    {
        struct Answer
        {
            QMutex mutex;
            std::optional<ScriptResult> result;
        };
        auto answer = std::make_shared<Answer>();
        m_queue.dispatch([&bridge, text, answer] {
            const ScriptResult result = bridge.runScript(text);
            QMutexLocker lock(&answer->mutex);
            answer->result = result;
        });
        const bool answered = QTest::qWaitFor(
            [&] {
                QMutexLocker lock(&answer->mutex);
                return answer->result.has_value();
            },
            10000);
        QMutexLocker lock(&answer->mutex);
        return answered ? *answer->result : ScriptResult::error(QStringLiteral("the test gave up waiting"));
    }

    // The program's own connection.
    static QDBusConnection programBus() { return QDBusConnection(QStringLiteral("talvo")); }

    static QString text(const ScriptResult &result)
    {
        return result.succeeded() ? result.reply->text.value_or(QStringLiteral("<none>"))
                                  : QStringLiteral("error: ") + result.errorDescription;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(m_bus.start(), qPrintable(m_bus.error()));
        QVERIFY(m_bus.connect(QStringLiteral("talvo")).isConnected());
        QVERIFY(m_data.isValid());
        // The fake player's desktop entry, with an icon given by path, and
        // icons that are not the entry's own.
        QVERIFY(installTestDesktopEntry(m_data.path(), QStringLiteral("fakeplayer"), Qt::magenta,
                                        "Icon[de]=wrong\n[Desktop Action x]\nIcon=other\n"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_data.path()));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(m_data.filePath(QStringLiteral("none"))));
    }

    void findsPlayersAndChoosesTheOneForMusic()
    {
        FakeMprisPlayer spotify(m_bus.address(), kSpotifyName, QStringLiteral("Spotify"), QStringLiteral("spotify"));
        FakeMprisPlayer fake(m_bus.address(), kFakeName, QStringLiteral("Fake Player"), QStringLiteral("fakeplayer"));
        FakeMprisPlayer other(m_bus.address(), kOtherName, QStringLiteral("Another"), QString());
        QVERIFY(spotify.start());
        QVERIFY(fake.start()); // there before the directory starts, found by listing
        MprisPlayers players(programBus(), kTimeoutMs);
        QVERIFY(other.start()); // appears later, seen by the watcher
        QTRY_COMPARE(players.players().size(), 3);
        QVERIFY(players.isRunning(RunningApplications::kSpotify));
        QVERIFY(players.isRunning(RunningApplications::kMusic));
        QVERIFY(!players.isRunning(QStringLiteral("org.example.unknown")));

        // Neither plays: by bus name.
        QTRY_COMPARE(players.displayName(RunningApplications::kMusic), QStringLiteral("Another"));
        // A playing one comes first.
        fake.setPlaybackStatus(QStringLiteral("Playing"));
        QTRY_COMPARE(players.displayName(RunningApplications::kMusic), QStringLiteral("Fake Player"));
        QCOMPARE(players.icon(RunningApplications::kMusic).pixelColor(0, 0), QColor(Qt::magenta));
        QCOMPARE(players.displayName(RunningApplications::kSpotify), QStringLiteral("Spotify"));

        fake.quit();
        QTRY_COMPARE(players.displayName(RunningApplications::kMusic), QStringLiteral("Another"));
        QVERIFY(players.icon(RunningApplications::kMusic).isNull()); // no entry installed
        other.quit();
        QTRY_VERIFY(!players.isRunning(RunningApplications::kMusic));
        QVERIFY(players.isRunning(RunningApplications::kSpotify));
    }

    void instanceSuffixesAndShortNames_data()
    {
        QTest::addColumn<QString>("busName");
        QTest::addColumn<QString>("shortName");
        QTest::addColumn<bool>("spotify");
        QTest::newRow("spotify") << "org.mpris.MediaPlayer2.spotify" << "spotify" << true;
        QTest::newRow("spotify instance") << "org.mpris.MediaPlayer2.spotify.instance7" << "spotify" << true;
        QTest::newRow("similar name") << "org.mpris.MediaPlayer2.spotifyd.instance7" << "spotifyd" << false;
        QTest::newRow("vlc instance") << "org.mpris.MediaPlayer2.vlc.instance4711" << "vlc" << false;
        QTest::newRow("not mpris") << "org.example.spotify" << "" << false;
    }
    void instanceSuffixesAndShortNames()
    {
        QFETCH(QString, busName);
        MprisPlayer player;
        player.busName = busName;
        QTEST(player.shortName(), "shortName");
        QTEST(player.isSpotify(), "spotify");
    }

    void scriptsAnswerFromThePlayers()
    {
        FakeMprisPlayer spotify(m_bus.address(), kSpotifyName, QStringLiteral("Spotify"), QStringLiteral("spotify"));
        FakeMprisPlayer fake(m_bus.address(), kFakeName, QStringLiteral("Fake Player"), QStringLiteral("fakeplayer"));
        spotify.setTracks({track(QStringLiteral("AC|DC")), track(QStringLiteral("Second"))});
        fake.setTracks({{QStringLiteral("Lone"), {}, {}, {}}});
        QVERIFY(spotify.start());
        QVERIFY(fake.start());
        auto players = std::make_shared<MprisPlayers>(programBus(), kTimeoutMs);
        ScriptBridge bridge;
        bridge.addHandler(std::make_unique<MprisScriptHandler>(players));
        QTRY_VERIFY(players->isRunning(RunningApplications::kMusic) && players->isRunning(RunningApplications::kSpotify));

        const QString spotifyQuery = PlayerScripts::stateQuery(QStringLiteral("Spotify"));
        const QString musicQuery = PlayerScripts::stateQuery(QStringLiteral("Music"));
        QCOMPARE(text(run(bridge, spotifyQuery)), QStringLiteral("stopped|||"));
        spotify.setPlaybackStatus(QStringLiteral("Playing"));
        QCOMPARE(text(run(bridge, spotifyQuery)), QStringLiteral("playing|AC|DC|AC|DC Band"));
        fake.setPlaybackStatus(QStringLiteral("Paused"));
        QCOMPARE(text(run(bridge, musicQuery)), QStringLiteral("paused|Lone|"));

        // Transport goes to the player standing for the name.
        QVERIFY(run(bridge, PlayerScripts::command(QStringLiteral("Spotify"), QStringLiteral("next track"))).succeeded());
        QCOMPARE(spotify.current(), 1);
        QVERIFY(run(bridge, PlayerScripts::command(QStringLiteral("Spotify"), QStringLiteral("previous track"))).succeeded());
        QCOMPARE(spotify.current(), 0);
        QVERIFY(run(bridge, PlayerScripts::command(QStringLiteral("Music"), QStringLiteral("playpause"))).succeeded());
        QCOMPARE(fake.playbackStatus(), QStringLiteral("Playing"));
        QVERIFY(!fake.calls().contains(QStringLiteral("Player.Next")));

        // Texts that are almost right are someone else's.
        QVERIFY(!run(bridge, PlayerScripts::command(QStringLiteral("Music"), QStringLiteral("stop"))).succeeded());
        QVERIFY(!run(bridge, spotifyQuery + u'\n').succeeded());

        fake.quit();
        QTRY_VERIFY(!players->isRunning(RunningApplications::kMusic));
        QCOMPARE(text(run(bridge, musicQuery)), QStringLiteral("error: Music is not running"));
        const ScriptResult art = run(bridge, PlayerScripts::musicArtwork());
        QVERIFY(art.succeeded());
        QVERIFY(art.reply->data.isEmpty());
    }

    void artworkScripts_data()
    {
        QTest::addColumn<QString>("artUrl"); // "<file>" and "<http>" stand for the test's own
        QTest::addColumn<bool>("succeeds");
        QTest::addColumn<bool>("hasBytes");
        QTest::newRow("local file") << "<file>" << true << true;
        QTest::newRow("http") << "<http>" << true << true;
        QTest::newRow("none") << "" << true << false;
        QTest::newRow("missing file") << "file:///nonexistent/cover.png" << false << false;
        QTest::newRow("not a regular file") << "file:///dev/zero" << false << false;
        QTest::newRow("folder") << "file:///tmp" << false << false;
        QTest::newRow("other scheme") << "ftp://127.0.0.1/cover.png" << false << false;
        QTest::newRow("http too large") << "<http>/large" << false << false;
        QTest::newRow("http never answering") << "<http>/slow" << false << false;
    }
    void artworkScripts()
    {
        QFETCH(QString, artUrl);
        QFETCH(bool, succeeds);
        QFETCH(bool, hasBytes);
        const QByteArray picture = pngBytes(Qt::cyan);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("cover.png")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(picture);
        file.close();
        LoopbackHttpServer server;
        QVERIFY(server.listen());
        server.setReply(QStringLiteral("/cover.png"), LoopbackHttpServer::Reply::typed("image/png", picture));
        server.setReply(QStringLiteral("/large/cover.png"),
                        LoopbackHttpServer::Reply::typed("image/png", QByteArray(5000, 'x')));
        LoopbackHttpServer::Reply held = LoopbackHttpServer::Reply::typed("image/png", picture);
        held.hold = true;
        server.setReply(QStringLiteral("/slow/cover.png"), held);
        artUrl.replace(QStringLiteral("<file>"), QUrl::fromLocalFile(file.fileName()).toString());
        artUrl.replace(QStringLiteral("<http>"), server.url().toString());
        if (artUrl.startsWith(u"http"))
            artUrl += QStringLiteral("/cover.png");

        FakeMprisPlayer fake(m_bus.address(), kFakeName, QStringLiteral("Fake Player"), QString());
        FakeMprisPlayer spotify(m_bus.address(), kSpotifyName, QStringLiteral("Spotify"), QString());
        fake.setTracks({track(QStringLiteral("One"), qlonglong(1), artUrl)});
        spotify.setTracks({track(QStringLiteral("One"), qlonglong(1), artUrl)});
        QVERIFY(fake.start());
        QVERIFY(spotify.start());
        auto players = std::make_shared<MprisPlayers>(programBus(), kTimeoutMs);
        ArtworkReader::Limits limits;
        limits.maxBytes = 4000;
        limits.timeout = std::chrono::milliseconds(500);
        ScriptBridge bridge;
        bridge.addHandler(std::make_unique<MprisScriptHandler>(players, limits));
        QTRY_VERIFY(players->isRunning(RunningApplications::kMusic) && players->isRunning(RunningApplications::kSpotify));

        const ScriptResult music = run(bridge, PlayerScripts::musicArtwork());
        QVERIFY2(music.succeeded() == succeeds, qPrintable(music.errorDescription));
        if (succeeds)
            QCOMPARE(music.reply->data, hasBytes ? picture : QByteArray());
        // Spotify's script hands over the address alone.
        const ScriptResult address = run(bridge, PlayerScripts::spotifyArtwork());
        QVERIFY(address.succeeded());
        QCOMPARE(address.reply->text.value_or(QString()), artUrl);
    }

    void notificationsCarryThePayloads_data()
    {
        QTest::addColumn<QVariant>("length");
        QTest::addColumn<QVariant>("totalTime");
        QTest::newRow("int64") << QVariant(qlonglong(215000000)) << QVariant(215000.0);
        QTest::newRow("uint64") << QVariant(qulonglong(215000000)) << QVariant(215000.0);
        QTest::newRow("int32") << QVariant(int(215000000)) << QVariant(215000.0);
        QTest::newRow("uint32") << QVariant(uint(215000000)) << QVariant(215000.0);
        QTest::newRow("double") << QVariant(215000000.0) << QVariant(215000.0);
        QTest::newRow("negative") << QVariant(qlonglong(-1)) << QVariant();
        QTest::newRow("text") << QVariant(QStringLiteral("215000000")) << QVariant();
    }
    void notificationsCarryThePayloads()
    {
        QFETCH(QVariant, length);
        QFETCH(QVariant, totalTime);
        FakeMprisPlayer fake(m_bus.address(), kFakeName, QStringLiteral("Fake Player"), QStringLiteral("fakeplayer"));
        fake.setTracks({track(QStringLiteral("One"), length)});
        QVERIFY(fake.start());
        MprisPlayers players(programBus(), kTimeoutMs);
        MprisPlayerNotifications notifications(players);
        QSignalSpy posted(&notifications, &PlayerNotifications::posted);
        QTRY_VERIFY(posted.count() >= 1); // what the player says when first asked
        posted.clear();

        fake.setPlaybackStatus(QStringLiteral("Playing"));
        QTRY_COMPARE(posted.count(), 1);
        QCOMPARE(posted.at(0).at(0).toString(), PlayerNotifications::kMusicPlayerInfo);
        QVariantMap expected{{QStringLiteral("Player State"), QStringLiteral("Playing")},
                             {QStringLiteral("Name"), QStringLiteral("One")},
                             {QStringLiteral("Artist"), QStringLiteral("One Band")}};
        if (totalTime.isValid())
            expected.insert(QStringLiteral("Total Time"), totalTime);
        QCOMPARE(posted.at(0).at(1).toMap(), expected);
    }

    void spotifyNotificationsReadThePosition()
    {
        FakeMprisPlayer spotify(m_bus.address(), kSpotifyName, QStringLiteral("Spotify"), QStringLiteral("spotify"));
        spotify.setTracks({track(QStringLiteral("One"), qulonglong(180000000)), track(QStringLiteral("Two"))});
        spotify.setPosition(qlonglong(42500000));
        spotify.setAnnounceByInvalidation(true); // some players only say that something changed
        QVERIFY(spotify.start());
        MprisPlayers players(programBus(), kTimeoutMs);
        MprisPlayerNotifications notifications(players);
        QSignalSpy posted(&notifications, &PlayerNotifications::posted);
        QTRY_VERIFY(posted.count() >= 1);
        posted.clear();

        spotify.setPlaybackStatus(QStringLiteral("Playing"));
        QTRY_COMPARE(posted.count(), 1);
        QCOMPARE(posted.at(0).at(0).toString(), PlayerNotifications::kSpotifyPlaybackStateChanged);
        const QVariantMap payload = posted.at(0).at(1).toMap();
        QCOMPARE(payload.value(QStringLiteral("Player State")).toString(), QStringLiteral("Playing"));
        QCOMPARE(payload.value(QStringLiteral("Duration")).toDouble(), 180000.0);
        QCOMPARE(payload.value(QStringLiteral("Playing Position")).toDouble(), 42.5);

        // Quitting says "Stopped" once.
        spotify.quit();
        QTRY_COMPARE(posted.count(), 2);
        QCOMPARE(posted.at(1).at(1).toMap().value(QStringLiteral("Player State")).toString(), QStringLiteral("Stopped"));
        QVERIFY(!posted.at(1).at(1).toMap().contains(QStringLiteral("Name")));
    }

    void onlyThePlayerStandingForMusicIsHeard()
    {
        FakeMprisPlayer fake(m_bus.address(), kFakeName, QStringLiteral("Fake Player"), QString());
        FakeMprisPlayer other(m_bus.address(), kOtherName, QStringLiteral("Another"), QString());
        fake.setTracks({track(QStringLiteral("One")), track(QStringLiteral("Two"))});
        other.setTracks({track(QStringLiteral("Other")), track(QStringLiteral("Other Two"))});
        fake.setPlaybackStatus(QStringLiteral("Playing"), false);
        other.setPlaybackStatus(QStringLiteral("Paused"), false);
        QVERIFY(fake.start());
        QVERIFY(other.start());
        MprisPlayers players(programBus(), kTimeoutMs);
        MprisPlayerNotifications notifications(players);
        QTRY_COMPARE(players.displayName(RunningApplications::kMusic), QStringLiteral("Fake Player"));
        QSignalSpy posted(&notifications, &PlayerNotifications::posted);

        other.setCurrent(1); // news from the player not shown
        fake.setCurrent(1);
        QTRY_COMPARE(posted.count(), 1);
        QCOMPARE(posted.at(0).at(1).toMap().value(QStringLiteral("Name")).toString(), QStringLiteral("Two"));

        // The other one quitting is no news; the shown one quitting is.
        other.quit();
        fake.setCurrent(0);
        QTRY_COMPARE(posted.count(), 2);
        fake.quit();
        QTRY_COMPARE(posted.count(), 3);
        QCOMPARE(posted.at(2).at(1).toMap().value(QStringLiteral("Player State")).toString(), QStringLiteral("Stopped"));
        QTest::qWait(100); // nothing else on its way
        QCOMPARE(posted.count(), 3);
    }
};

QTEST_MAIN(TestMprisPlayers)
#include "tst_mprisplayers.moc"
