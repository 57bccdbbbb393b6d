#include "fakes/FakeMprisPlayer.h"
#include "fakes/LoopbackHttpServer.h"
#include "fakes/PrivateBus.h"
#include "fakes/TestDesktopEntries.h"
#include "fakes/TestImages.h"
#include "platform/PlayerScripts.h"
#include "platform/QtScheduler.h"
#include "platform/SerialWorkQueue.h"
#include "platform/linux/MprisPlayerNotifications.h"
#include "platform/linux/MprisPlayers.h"
#include "platform/linux/MprisScriptHandler.h"
#include "platform/linux/NetworkHttpClient.h"
#include "platform/linux/ScriptBridge.h"
#include "sources/NowPlayingManager.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <atomic>

using namespace talvo;
using namespace Qt::StringLiterals;

namespace {

const QString kSpotifyName = u"org.mpris.MediaPlayer2.spotify"_s;
const QString kFakeName = u"org.mpris.MediaPlayer2.fakeplayer.instance42"_s;
const QString kOtherName = u"org.mpris.MediaPlayer2.another"_s;
constexpr int kTimeoutMs = 400;

FakeMprisPlayer::Track track(const QString &title, QVariant length = qlonglong(200000000), QString artUrl = {})
{
    return {title, {title + u" Band"_s, u"Guest"_s}, std::move(length), std::move(artUrl)};
}

QColor colourOf(const QImage &image)
{
    return image.isNull() ? QColor() : image.pixelColor(0, 0);
}

// The now-playing manager as the application builds it, over the real MPRIS side.
struct ManagerRig
{
    // Long enough to tell waiting on a player from a busy machine.
    static constexpr int kCallTimeoutMs = 1000;

    ManagerRig() : players(std::make_shared<MprisPlayers>(QDBusConnection(u"talvo"_s), kCallTimeoutMs))
    {
        bridge.addHandler(std::make_unique<MprisScriptHandler>(players));
        manager = std::make_unique<NowPlayingManager>(bridge, *players, notifications, http, queue, scheduler);
    }
    ~ManagerRig()
    {
        // The players live on this thread: let the queue finish talking to them
        // before waiting for it, or its last call would run into its timeout.
        manager.reset();
        auto drained = std::make_shared<std::atomic<bool>>(false);
        queue.dispatch([drained] { *drained = true; });
        if (!QTest::qWaitFor([&] { return drained->load(); }, 5000))
            qWarning("the script queue did not drain");
    }

    std::shared_ptr<MprisPlayers> players;
    MprisPlayerNotifications notifications{*players};
    ScriptBridge bridge;
    QtScheduler scheduler;
    NetworkHttpClient http{scheduler};
    SerialWorkQueue queue{u"com.talvo.artfetch"_s};
    std::unique_ptr<NowPlayingManager> manager;
};

} // namespace

// The MPRIS side of the players on a session bus of the test's own, against players the
// test serves there itself.
class TestMprisPlayers : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_data;
    PrivateBus m_bus;
    SerialWorkQueue m_queue{u"test.scripts"_s};
    LoopbackHttpServer m_server;
    QString m_localArt;

    std::unique_ptr<FakeMprisPlayer> spotifyWithArt()
    {
        auto player = std::make_unique<FakeMprisPlayer>(m_bus.address(), kSpotifyName, u"Spotify"_s, u"spotify"_s);
        player->setTracks({{u"One"_s, {u"First Band"_s}, qlonglong(180000000), m_server.url(u"/one.png"_s).toString()},
                           {u"Two"_s, {u"Second Band"_s}, qulonglong(240000000), m_server.url(u"/two.png"_s).toString()}});
        return player;
    }
    std::unique_ptr<FakeMprisPlayer> localPlayer()
    {
        auto player = std::make_unique<FakeMprisPlayer>(m_bus.address(), kFakeName, u"Fake Player"_s, u"fakeplayer"_s);
        player->setTracks({{u"Local"_s, {u"Home Band"_s}, int(90000000), m_localArt},
                           {u"Local Two"_s, {u"Home Band"_s}, {}, {}}});
        return player;
    }

    // Scripts run where the program runs them: off the main thread, which
    // keeps serving the fake players meanwhile.
    ScriptResult run(ScriptBridge &bridge, const QString &text)
    {
        auto result = std::make_shared<std::optional<ScriptResult>>();
        auto done = std::make_shared<std::atomic<bool>>(false);
        m_queue.dispatch([&bridge, text, result, done] {
            *result = bridge.runScript(text);
            done->store(true);
        });
        if (!QTest::qWaitFor([&] { return done->load(); }, 10000))
            return ScriptResult::error(u"the test gave up waiting"_s);
        return **result;
    }

    // The program's own connection.
    static QDBusConnection programBus() { return QDBusConnection(u"talvo"_s); }

    static QString text(const ScriptResult &result)
    {
        return result.succeeded() ? result.reply->text.value_or(u"<none>"_s)
                                  : u"error: "_s + result.errorDescription;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(m_bus.start(), qPrintable(m_bus.error()));
        QVERIFY(m_bus.connect(u"talvo"_s).isConnected());
        QVERIFY(m_data.isValid());
        // The fake player's desktop entry, with an icon given by path, and
        // icons that are not the entry's own.
        QVERIFY(installTestDesktopEntry(m_data.path(), u"fakeplayer"_s, Qt::magenta,
                                        "Icon[de]=wrong\n[Desktop Action x]\nIcon=other\n"));
        QVERIFY(installTestDesktopEntry(m_data.path(), u"spotify"_s, Qt::green));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_data.path()));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(m_data.filePath(u"none"_s)));
        m_localArt = QUrl::fromLocalFile(m_data.filePath(u"local.png"_s)).toString();
        QVERIFY(solidImage(Qt::red).save(m_data.filePath(u"local.png"_s)));
        QVERIFY(m_server.listen());
        m_server.setReply(u"/one.png"_s, LoopbackHttpServer::Reply::typed("image/png", pngBytes(Qt::blue)));
        m_server.setReply(u"/two.png"_s, LoopbackHttpServer::Reply::typed("image/png", pngBytes(Qt::cyan)));
    }

    void findsPlayersAndChoosesTheOneForMusic()
    {
        FakeMprisPlayer spotify(m_bus.address(), kSpotifyName, u"Spotify"_s, u"spotify"_s);
        FakeMprisPlayer fake(m_bus.address(), kFakeName, u"Fake Player"_s, u"fakeplayer"_s);
        FakeMprisPlayer other(m_bus.address(), kOtherName, u"Another"_s, QString());
        QVERIFY(spotify.start());
        QVERIFY(fake.start()); // there before the directory starts, found by listing
        MprisPlayers players(programBus(), kTimeoutMs);
        QVERIFY(other.start()); // appears later, seen by the watcher
        QTRY_COMPARE(players.players().size(), 3);
        QVERIFY(players.isRunning(RunningApplications::kSpotify));
        QVERIFY(players.isRunning(RunningApplications::kMusic));
        QVERIFY(!players.isRunning(u"org.example.unknown"_s));

        // Neither plays: by bus name.
        QTRY_COMPARE(players.displayName(RunningApplications::kMusic), u"Another"_s);
        // A playing one comes first.
        fake.setPlaybackStatus(u"Playing"_s);
        QTRY_COMPARE(players.displayName(RunningApplications::kMusic), u"Fake Player"_s);
        QCOMPARE(players.icon(RunningApplications::kMusic).pixelColor(0, 0), QColor(Qt::magenta));
        QCOMPARE(players.displayName(RunningApplications::kSpotify), u"Spotify"_s);

        fake.quit();
        QTRY_COMPARE(players.displayName(RunningApplications::kMusic), u"Another"_s);
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
        FakeMprisPlayer spotify(m_bus.address(), kSpotifyName, u"Spotify"_s, u"spotify"_s);
        FakeMprisPlayer fake(m_bus.address(), kFakeName, u"Fake Player"_s, u"fakeplayer"_s);
        spotify.setTracks({track(u"AC|DC"_s), track(u"Second"_s)});
        fake.setTracks({{u"Lone"_s, {}, {}, {}}});
        QVERIFY(spotify.start());
        QVERIFY(fake.start());
        auto players = std::make_shared<MprisPlayers>(programBus(), kTimeoutMs);
        ScriptBridge bridge;
        bridge.addHandler(std::make_unique<MprisScriptHandler>(players));
        QTRY_VERIFY(players->isRunning(RunningApplications::kMusic) && players->isRunning(RunningApplications::kSpotify));

        const QString spotifyQuery = PlayerScripts::stateQuery(u"Spotify"_s);
        const QString musicQuery = PlayerScripts::stateQuery(u"Music"_s);
        QCOMPARE(text(run(bridge, spotifyQuery)), u"stopped|||"_s);
        spotify.setPlaybackStatus(u"Playing"_s);
        QCOMPARE(text(run(bridge, spotifyQuery)), u"playing|AC|DC|AC|DC Band"_s);
        fake.setPlaybackStatus(u"Paused"_s);
        QCOMPARE(text(run(bridge, musicQuery)), u"paused|Lone|"_s);

        // Transport goes to the player standing for the name.
        spotify.setCurrent(1);
        QVERIFY(run(bridge, PlayerScripts::command(u"Spotify"_s, u"previous track"_s)).succeeded());
        QCOMPARE(spotify.current(), 0);
        QVERIFY(fake.calls().filter(u"Player."_s).isEmpty());

        // Texts that are almost right are someone else's.
        QVERIFY(!run(bridge, PlayerScripts::command(u"Music"_s, u"stop"_s)).succeeded());
        QVERIFY(!run(bridge, spotifyQuery + u'\n').succeeded());

        fake.quit();
        QTRY_VERIFY(!players->isRunning(RunningApplications::kMusic));
        QCOMPARE(text(run(bridge, musicQuery)), u"error: Music is not running"_s);
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
        QTest::newRow("not a regular file") << "file:///dev/zero" << false << false;
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
        QFile file(dir.filePath(u"cover.png"_s));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(picture) == picture.size());
        file.close();
        LoopbackHttpServer server;
        QVERIFY(server.listen());
        server.setReply(u"/cover.png"_s, LoopbackHttpServer::Reply::typed("image/png", picture));
        server.setReply(u"/large/cover.png"_s,
                        LoopbackHttpServer::Reply::typed("image/png", QByteArray(5000, 'x')));
        LoopbackHttpServer::Reply held = LoopbackHttpServer::Reply::typed("image/png", picture);
        held.hold = true;
        server.setReply(u"/slow/cover.png"_s, held);
        artUrl.replace(u"<file>"_s, QUrl::fromLocalFile(file.fileName()).toString());
        artUrl.replace(u"<http>"_s, server.url().toString());
        if (artUrl.startsWith(u"http"))
            artUrl += u"/cover.png"_s;

        FakeMprisPlayer fake(m_bus.address(), kFakeName, u"Fake Player"_s, QString());
        FakeMprisPlayer spotify(m_bus.address(), kSpotifyName, u"Spotify"_s, QString());
        fake.setTracks({track(u"One"_s, qlonglong(1), artUrl)});
        spotify.setTracks({track(u"One"_s, qlonglong(1), artUrl)});
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
        QTest::newRow("double") << QVariant(215000000.0) << QVariant(215000.0);
        QTest::newRow("negative") << QVariant(qlonglong(-1)) << QVariant();
        QTest::newRow("text") << QVariant(u"215000000"_s) << QVariant();
    }
    void notificationsCarryThePayloads()
    {
        QFETCH(QVariant, length);
        QFETCH(QVariant, totalTime);
        FakeMprisPlayer fake(m_bus.address(), kFakeName, u"Fake Player"_s, u"fakeplayer"_s);
        fake.setTracks({track(u"One"_s, length)});
        QVERIFY(fake.start());
        MprisPlayers players(programBus(), kTimeoutMs);
        MprisPlayerNotifications notifications(players);
        QSignalSpy posted(&notifications, &PlayerNotifications::posted);
        QTRY_VERIFY(posted.count() >= 1); // what the player says when first asked
        posted.clear();

        fake.setPlaybackStatus(u"Playing"_s);
        QTRY_COMPARE(posted.count(), 1);
        QCOMPARE(posted.at(0).at(0).toString(), PlayerNotifications::kMusicPlayerInfo);
        QVariantMap expected{{u"Player State"_s, u"Playing"_s},
                             {u"Name"_s, u"One"_s},
                             {u"Artist"_s, u"One Band"_s}};
        if (totalTime.isValid())
            expected.insert(u"Total Time"_s, totalTime);
        QCOMPARE(posted.at(0).at(1).toMap(), expected);
    }

    void spotifyNotificationsReadThePosition()
    {
        FakeMprisPlayer spotify(m_bus.address(), kSpotifyName, u"Spotify"_s, u"spotify"_s);
        spotify.setTracks({track(u"One"_s, qulonglong(180000000)), track(u"Two"_s)});
        spotify.setPosition(qlonglong(42500000));
        spotify.setAnnounceByInvalidation(true); // some players only say that something changed
        QVERIFY(spotify.start());
        MprisPlayers players(programBus(), kTimeoutMs);
        MprisPlayerNotifications notifications(players);
        QSignalSpy posted(&notifications, &PlayerNotifications::posted);
        QTRY_VERIFY(posted.count() >= 1);
        posted.clear();

        spotify.setPlaybackStatus(u"Playing"_s);
        QTRY_COMPARE(posted.count(), 1);
        QCOMPARE(posted.at(0).at(0).toString(), PlayerNotifications::kSpotifyPlaybackStateChanged);
        const QVariantMap payload = posted.at(0).at(1).toMap();
        QCOMPARE(payload.value(u"Player State"_s).toString(), u"Playing"_s);
        QCOMPARE(payload.value(u"Duration"_s).toDouble(), 180000.0);
        QCOMPARE(payload.value(u"Playing Position"_s).toDouble(), 42.5);

        // Quitting says "Stopped" once.
        spotify.quit();
        QTRY_COMPARE(posted.count(), 2);
        QCOMPARE(posted.at(1).at(1).toMap().value(u"Player State"_s).toString(), u"Stopped"_s);
        QVERIFY(!posted.at(1).at(1).toMap().contains(u"Name"_s));
    }

    void onlyThePlayerStandingForMusicIsHeard()
    {
        FakeMprisPlayer fake(m_bus.address(), kFakeName, u"Fake Player"_s, QString());
        FakeMprisPlayer other(m_bus.address(), kOtherName, u"Another"_s, QString());
        fake.setTracks({track(u"One"_s), track(u"Two"_s)});
        other.setTracks({track(u"Other"_s), track(u"Other Two"_s)});
        fake.setPlaybackStatus(u"Playing"_s, false);
        other.setPlaybackStatus(u"Paused"_s, false);
        QVERIFY(fake.start());
        QVERIFY(other.start());
        MprisPlayers players(programBus(), kTimeoutMs);
        MprisPlayerNotifications notifications(players);
        QTRY_COMPARE(players.displayName(RunningApplications::kMusic), u"Fake Player"_s);
        QSignalSpy posted(&notifications, &PlayerNotifications::posted);

        other.setCurrent(1); // news from the player not shown
        fake.setCurrent(1);
        QTRY_COMPARE(posted.count(), 1);
        QCOMPARE(posted.at(0).at(1).toMap().value(u"Name"_s).toString(), u"Two"_s);

        // The other one quitting is no news; the shown one quitting is.
        other.quit();
        fake.setCurrent(0);
        QTRY_COMPARE(posted.count(), 2);
        fake.quit();
        QTRY_COMPARE(posted.count(), 3);
        QCOMPARE(posted.at(2).at(1).toMap().value(u"Player State"_s).toString(), u"Stopped"_s);
        QTest::qWait(100); // nothing else on its way
        QCOMPARE(posted.count(), 3);
    }

    // Now playing end to end: the manager over these players.
    void managerFollowsPlayingPausingAndChangingTracks()
    {
        const int oneRequests = m_server.requestCount(u"/one.png"_s);
        const int twoRequests = m_server.requestCount(u"/two.png"_s);
        auto player = spotifyWithArt();
        player->setPlaybackStatus(u"Playing"_s, false);
        QVERIFY(player->start());
        ManagerRig rig;
        NowPlayingManager &manager = *rig.manager;

        QTRY_VERIFY(manager.isPlaying());
        QCOMPARE(manager.songTitle(), u"One"_s);
        QCOMPARE(manager.artistName(), u"First Band"_s);
        QCOMPARE(manager.appName(), u"Spotify"_s);
        QTRY_COMPARE(colourOf(manager.albumArt()), QColor(Qt::blue));
        QCOMPARE(colourOf(manager.appIcon()), QColor(Qt::green));
        QCOMPARE(manager.duration(), 180000.0);

        player->setPlaybackStatus(u"Paused"_s);
        QTRY_VERIFY(!manager.isPlaying());
        QVERIFY(!manager.isProgressTimerRunning());

        manager.sendCommand(u"next track"_s);
        QTRY_COMPARE(manager.songTitle(), u"Two"_s);
        QTRY_COMPARE(colourOf(manager.albumArt()), QColor(Qt::cyan));
        manager.sendCommand(u"playpause"_s);
        QTRY_VERIFY(manager.isPlaying());
        QCOMPARE(player->playbackStatus(), u"Playing"_s);

        // Polls and notifications for the same track fetch no artwork again.
        const qsizetype asked = player->calls().count(u"Properties.GetAll"_s);
        manager.refresh();
        manager.refresh();
        QTRY_VERIFY(player->calls().count(u"Properties.GetAll"_s) >= asked + 2);
        QCOMPARE(m_server.requestCount(u"/one.png"_s) - oneRequests, 1);
        QCOMPARE(m_server.requestCount(u"/two.png"_s) - twoRequests, 1);
    }

    void managerHandsOverWhenAPlayerQuits()
    {
        auto first = spotifyWithArt();
        auto second = localPlayer();
        first->setPlaybackStatus(u"Playing"_s, false);
        second->setPlaybackStatus(u"Paused"_s, false);
        QVERIFY(first->start());
        QVERIFY(second->start());
        ManagerRig rig;
        NowPlayingManager &manager = *rig.manager;
        QTRY_VERIFY(manager.isPlaying());
        QCOMPARE(manager.appName(), u"Spotify"_s);

        first->quit();
        QTRY_VERIFY(!manager.isPlaying());
        manager.refresh();
        QTRY_COMPARE(manager.appName(), u"Fake Player"_s);
        QCOMPARE(manager.songTitle(), u"Local"_s);
        QTRY_COMPARE(colourOf(manager.albumArt()), QColor(Qt::red));
        QCOMPARE(colourOf(manager.appIcon()), QColor(Qt::magenta));

        second->setPlaybackStatus(u"Playing"_s);
        QTRY_VERIFY(manager.isPlaying());
        QCOMPARE(manager.duration(), 90000.0);
        manager.sendCommand(u"next track"_s);
        QTRY_COMPARE(manager.songTitle(), u"Local Two"_s);
        QVERIFY(second->calls().contains(u"Player.Next"_s));
        // No artwork: the player's icon stands in.
        QTRY_COMPARE(colourOf(manager.albumArt()), QColor(Qt::magenta));
    }

    void aPlayerThatNeverRepliesStallsNothing()
    {
        auto hung = spotifyWithArt();
        hung->setSilent(true);
        auto second = localPlayer();
        second->setPlaybackStatus(u"Playing"_s, false);
        QVERIFY(hung->start());
        QVERIFY(second->start());

        // Also while the players are first asked, as the rig is built.
        QElapsedTimer clock;
        clock.start();
        qint64 longestGap = 0;
        qint64 last = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] {
            longestGap = std::max(longestGap, clock.elapsed() - last);
            last = clock.elapsed();
        });
        ticker.start(10);

        ManagerRig rig;
        NowPlayingManager &manager = *rig.manager;
        QTRY_VERIFY(rig.players->isRunning(RunningApplications::kSpotify));
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(u"^\\[NowPlayingManager\\] query Spotify failed: .+"_s));
        manager.refresh();
        QTRY_COMPARE(manager.appName(), u"Fake Player"_s);
        QVERIFY(manager.isPlaying());
        QVERIFY(hung->calls().contains(u"Properties.GetAll"_s));
        QVERIFY2(longestGap < ManagerRig::kCallTimeoutMs / 2, qPrintable(QString::number(longestGap)));
    }
};

QTEST_MAIN(TestMprisPlayers)
#include "tst_mprisplayers.moc"
