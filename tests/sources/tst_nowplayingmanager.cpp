#include "fakes/FakeHttpClient.h"
#include "fakes/FakeRunningApplications.h"
#include "fakes/FakeScriptRunner.h"
#include "fakes/InlineWorkQueue.h"
#include "fakes/TestImages.h"
#include "fakes/VirtualScheduler.h"
#include "platform/PlayerNotifications.h"
#include "platform/PlayerScripts.h"
#include "sources/ArtworkImage.h"
#include "sources/NowPlayingManager.h"

#include <QSignalSpy>
#include <QTest>

using namespace talvo;

namespace {

const QString kSpotifyId = QStringLiteral("com.spotify.client");
const QString kMusicId = QStringLiteral("com.apple.Music");

QImage solid(QColor colour)
{
    return solidImage(colour, {4, 4});
}

// One player as the scripts see it.
struct FakePlayer
{
    QString reply = QStringLiteral("playing|Song|Artist");
    QString error;         // the state query fails with this
    QByteArray artBytes;   // Music artwork
    QString artAddress;    // Spotify artwork
    QString artError;
    QString commandError;
};

struct Rig
{
    FakeScriptRunner scripts;
    FakeRunningApplications apps;
    PlayerNotifications notifications;
    FakeHttpClient http;
    InlineWorkQueue queue;
    VirtualScheduler scheduler;
    FakePlayer spotify;
    FakePlayer music;
    std::unique_ptr<NowPlayingManager> manager;

    Rig()
    {
        installPlayer(QStringLiteral("Spotify"), spotify);
        installPlayer(QStringLiteral("Music"), music);
        scripts.handle(PlayerScripts::musicArtwork(), [this](const QString &) {
            if (!music.artError.isEmpty())
                return ScriptResult::error(music.artError);
            return ScriptResult::ok(ScriptReply::fromData(music.artBytes));
        });
        scripts.handle(PlayerScripts::spotifyArtwork(), [this](const QString &) {
            if (!spotify.artError.isEmpty())
                return ScriptResult::error(spotify.artError);
            return ScriptResult::ok(ScriptReply::fromText(spotify.artAddress));
        });
    }

    void installPlayer(const QString &name, FakePlayer &player)
    {
        scripts.handle(PlayerScripts::stateQuery(name), [&player](const QString &) {
            if (!player.error.isEmpty())
                return ScriptResult::error(player.error);
            return ScriptResult::ok(ScriptReply::fromText(player.reply));
        });
        scripts.handlePrefix(QStringLiteral("tell application \"") + name + QStringLiteral("\" to "),
                             [&player](const QString &) {
                                 if (!player.commandError.isEmpty())
                                     return ScriptResult::error(player.commandError);
                                 return ScriptResult::ok(ScriptReply::fromText(QString()));
                             });
    }

    NowPlayingManager &start()
    {
        manager = std::make_unique<NowPlayingManager>(scripts, apps, notifications, http, queue, scheduler);
        scheduler.runPending();
        return *manager;
    }
    void poll() { scheduler.advance(NowPlayingManager::kRefreshInterval); }
    void post(const QString &name, const QVariantMap &userInfo)
    {
        emit notifications.posted(name, userInfo);
        scheduler.runPending();
    }
    int ranCount(const QString &script) const { return int(scripts.ran().count(script)); }
};

QVariantMap payload(const QString &state, const QString &title, const QString &artist = QStringLiteral("Artist"))
{
    return {{QStringLiteral("Player State"), state}, {QStringLiteral("Name"), title},
            {QStringLiteral("Artist"), artist}};
}

} // namespace

class TestNowPlayingManager : public QObject
{
    Q_OBJECT
private slots:
    void parsesTheStateReply_data()
    {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<bool>("present");
        QTest::addColumn<bool>("playing");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("artist");
        QTest::newRow("playing") << "playing|Song|Artist" << true << true << "Song" << "Artist";
        QTest::newRow("paused") << "paused|Song|Artist" << true << false << "Song" << "Artist";
        QTest::newRow("empty") << "" << false << false << "" << "";
        QTest::newRow("fewer than three parts") << "playing|Song" << false << false << "" << "";
        QTest::newRow("stopped, four parts") << "stopped|||" << false << false << "" << "";
        QTest::newRow("stopped with a track") << "stopped|Song|Artist" << false << false << "" << "";
        QTest::newRow("four parts") << "paused|A|B|C" << true << false << "A" << "B";
        QTest::newRow("title holding a bar is cut") << "playing|AC|DC|Band" << true << true << "AC" << "DC";
        QTest::newRow("empty artist") << "playing|Song|" << true << true << "Song" << "";
        QTest::newRow("unknown state reads as paused") << "buffering|A|B" << true << false << "A" << "B";
    }
    void parsesTheStateReply()
    {
        QFETCH(QString, reply);
        QFETCH(bool, present);
        const auto result = PlayerQueryResult::parse(reply);
        QCOMPARE(result.has_value(), present);
        if (!present)
            return;
        QTEST(result->isPlaying, "playing");
        QTEST(result->title, "title");
        QTEST(result->artist, "artist");
    }

    void scriptTextsAreExact()
    {
        QCOMPARE(PlayerScripts::stateQuery(QStringLiteral("Spotify")),
                 QStringLiteral("tell application \"Spotify\"\n"
                                "    if player state is stopped then return \"stopped|||\"\n"
                                "    set st to \"paused\"\n"
                                "    if player state is playing then set st to \"playing\"\n"
                                "    set trackName to \"\"\n"
                                "    set trackArtist to \"\"\n"
                                "    try\n"
                                "        set trackName to name of current track\n"
                                "        set trackArtist to artist of current track\n"
                                "    end try\n"
                                "    return st & \"|\" & trackName & \"|\" & trackArtist\n"
                                "end tell"));
        QVERIFY(PlayerScripts::stateQuery(QStringLiteral("Music")).startsWith(u"tell application \"Music\"\n    if"));
        QCOMPARE(PlayerScripts::musicArtwork(), QStringLiteral("tell application \"Music\"\n"
                                                               "    if it is running then\n"
                                                               "        try\n"
                                                               "            return raw data of artwork 1 of current track\n"
                                                               "        end try\n"
                                                               "    end if\n"
                                                               "end tell"));
        QCOMPARE(PlayerScripts::spotifyArtwork(), QStringLiteral("tell application \"Spotify\"\n"
                                                                 "    if it is running then\n"
                                                                 "        try\n"
                                                                 "            return artwork url of current track\n"
                                                                 "        end try\n"
                                                                 "    end if\n"
                                                                 "end tell"));
    }

    void choosesTheSource_data()
    {
        QTest::addColumn<QString>("spotifyReply"); // empty: not running
        QTest::addColumn<QString>("musicReply");
        QTest::addColumn<QString>("musicName");
        QTest::addColumn<QString>("appName");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("playing");
        QTest::newRow("spotify paused, music playing")
            << "paused|S|a" << "playing|M|b" << "" << "Apple Music" << "M" << true;
        QTest::newRow("both paused") << "paused|S|a" << "paused|M|b" << "" << "Spotify" << "S" << false;
        QTest::newRow("both playing") << "playing|S|a" << "playing|M|b" << "" << "Spotify" << "S" << true;
        QTest::newRow("spotify stopped, music paused")
            << "stopped|||" << "paused|M|b" << "" << "Apple Music" << "M" << false;
        QTest::newRow("only music, named by itself")
            << "" << "paused|M|b" << "Rhythmbox" << "Rhythmbox" << "M" << false;
        QTest::newRow("spotify malformed, music playing")
            << "garbage" << "playing|M|b" << "" << "Apple Music" << "M" << true;
    }
    void choosesTheSource()
    {
        QFETCH(QString, spotifyReply);
        QFETCH(QString, musicReply);
        QFETCH(QString, musicName);
        Rig rig;
        if (!spotifyReply.isEmpty())
            rig.apps.launch(kSpotifyId);
        rig.apps.launch(kMusicId, {musicName, {}});
        rig.spotify.reply = spotifyReply;
        rig.music.reply = musicReply;
        NowPlayingManager &manager = rig.start();
        QTEST(manager.appName(), "appName");
        QTEST(manager.songTitle(), "title");
        QTEST(manager.isPlaying(), "playing");
    }

    void aFailedQueryIsLoggedAndSkipped()
    {
        Rig rig;
        rig.apps.launch(kSpotifyId);
        rig.apps.launch(kMusicId);
        rig.spotify.error = QStringLiteral("Spotify got an error: timeout");
        rig.music.reply = QStringLiteral("paused|M|b");
        QTest::ignoreMessage(QtInfoMsg, "[NowPlayingManager] query Spotify failed: Spotify got an error: timeout");
        NowPlayingManager &manager = rig.start();
        QCOMPARE(manager.appName(), QStringLiteral("Apple Music"));
        QCOMPARE(manager.songTitle(), QStringLiteral("M"));
    }

    void nothingToShowChangesNothing_data()
    {
        QTest::addColumn<bool>("running");
        QTest::newRow("neither running") << false;
        QTest::newRow("both stopped") << true;
    }
    void nothingToShowChangesNothing()
    {
        QFETCH(bool, running);
        Rig rig;
        rig.apps.launch(kMusicId);
        rig.music.artBytes = pngBytes(Qt::red);
        NowPlayingManager &manager = rig.start();
        QCOMPARE(manager.songTitle(), QStringLiteral("Song"));
        QVERIFY(manager.hasAlbumArt());

        rig.apps.quit(kMusicId);
        if (running) {
            rig.apps.launch(kMusicId);
            rig.apps.launch(kSpotifyId);
            rig.music.reply = rig.spotify.reply = QStringLiteral("stopped|||");
        }
        rig.scripts.clearRan();
        QSignalSpy spies[] = {{&manager, &NowPlayingManager::isPlayingChanged},
                              {&manager, &NowPlayingManager::songTitleChanged},
                              {&manager, &NowPlayingManager::artistNameChanged},
                              {&manager, &NowPlayingManager::albumArtChanged},
                              {&manager, &NowPlayingManager::appNameChanged}};
        rig.poll();
        QCOMPARE(rig.scripts.ran().size(), running ? 2 : 0);
        for (const QSignalSpy &spy : spies)
            QCOMPARE(spy.count(), 0);
        QVERIFY(manager.isPlaying());
        QCOMPARE(manager.artistName(), QStringLiteral("Artist"));
    }

    void emptyTitleOrArtistKeepsTheLastOne()
    {
        Rig rig;
        rig.apps.launch(kMusicId);
        NowPlayingManager &manager = rig.start();
        rig.music.reply = QStringLiteral("playing|Next|");
        rig.poll();
        QCOMPARE(manager.songTitle(), QStringLiteral("Next"));
        QCOMPARE(manager.artistName(), QStringLiteral("Artist"));
        rig.music.reply = QStringLiteral("paused||Other");
        rig.scripts.clearRan();
        rig.poll();
        QVERIFY(!manager.isPlaying());
        QCOMPARE(manager.songTitle(), QStringLiteral("Next"));
        QCOMPARE(manager.artistName(), QStringLiteral("Other"));
        // An empty title is no new track: no artwork is asked for.
        QCOMPARE(rig.ranCount(PlayerScripts::musicArtwork()), 0);
    }

    void artworkIsFetchedOncePerTrack()
    {
        Rig rig;
        rig.apps.launch(kSpotifyId, {{}, solid(Qt::green)});
        rig.spotify.reply = QStringLiteral("playing|Song|Artist");
        rig.spotify.artAddress = QStringLiteral("https://images.example/a.png");
        NowPlayingManager &manager = rig.start();
        QCOMPARE(rig.ranCount(PlayerScripts::spotifyArtwork()), 1);
        QCOMPARE(rig.http.requested(), QList<QUrl>{QUrl(rig.spotify.artAddress)});
        QCOMPARE(rig.http.pendingRequest().maxBodyBytes, NowPlayingManager::kMaxArtworkBytes);
        rig.http.replyBody(pngBytes(Qt::blue));
        rig.scheduler.runPending();
        QCOMPARE(manager.albumArt().pixelColor(0, 0), QColor(Qt::blue));
        QCOMPARE(manager.appIcon(), solid(Qt::green));
        manager.closeForCurrentTrack();

        // The same track again, by poll and by notification.
        rig.poll();
        rig.post(NowPlayingManager::kSpotifyNotification, payload(QStringLiteral("Playing"), QStringLiteral("Song")));
        rig.poll();
        QCOMPARE(rig.ranCount(PlayerScripts::spotifyArtwork()), 1);
        QCOMPARE(rig.http.requested().size(), 1);
        QVERIFY(manager.isClosedForCurrentTrack());

        // A new track by notification, then seen again by the poll.
        rig.spotify.reply = QStringLiteral("playing|Second|Artist");
        rig.post(NowPlayingManager::kSpotifyNotification, payload(QStringLiteral("Playing"), QStringLiteral("Second")));
        rig.poll();
        QCOMPARE(rig.ranCount(PlayerScripts::spotifyArtwork()), 2);
        QCOMPARE(manager.artTrackKey(), QStringLiteral("com.spotify.client|Second"));
        QVERIFY(!manager.isClosedForCurrentTrack());
    }

    void aLateArtworkAnswerIsDropped()
    {
        Rig rig;
        rig.apps.launch(kMusicId, {{}, solid(Qt::gray)});
        rig.queue.holdWork(true);
        NowPlayingManager &manager = rig.start();
        rig.queue.runHeld(); // the first poll
        rig.scheduler.runPending();
        QCOMPARE(rig.queue.heldCount(), 1); // artwork of "Song"
        rig.post(NowPlayingManager::kMusicNotification, payload(QStringLiteral("Playing"), QStringLiteral("Other")));
        QCOMPARE(rig.queue.heldCount(), 2);

        QSignalSpy artChanged(&manager, &NowPlayingManager::albumArtChanged);
        rig.music.artBytes = pngBytes(Qt::red);
        rig.queue.runHeld(); // the answer for "Song" arrives after "Other" started
        rig.scheduler.runPending();
        QCOMPARE(artChanged.count(), 0);
        rig.music.artBytes = pngBytes(Qt::blue);
        rig.queue.runHeld();
        rig.scheduler.runPending();
        QCOMPARE(artChanged.count(), 1);
        QCOMPARE(manager.albumArt().pixelColor(0, 0), QColor(Qt::blue));
    }

    void aLateDownloadIsDropped()
    {
        Rig rig;
        rig.apps.launch(kSpotifyId);
        rig.spotify.artAddress = QStringLiteral("http://images.example/1.png");
        NowPlayingManager &manager = rig.start();
        rig.spotify.artAddress = QStringLiteral("http://images.example/2.png");
        rig.post(NowPlayingManager::kSpotifyNotification, payload(QStringLiteral("Playing"), QStringLiteral("Two")));
        QCOMPARE(rig.http.pendingCount(), 2);
        rig.http.replyBody(pngBytes(Qt::blue), 1);
        rig.http.replyBody(pngBytes(Qt::red), 0);
        rig.scheduler.runPending();
        QCOMPARE(manager.albumArt().pixelColor(0, 0), QColor(Qt::blue));
    }

    void artworkFallsBackToTheIcon_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("scriptError");
        QTest::addColumn<int>("outcome"); // HttpResponse::Outcome, -1: nothing downloaded
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("downloads");
        const QByteArray noise("\x89PNG not really", 15);
        const int completed = int(HttpResponse::Outcome::Completed);
        QTest::newRow("undecodable body") << "https://i.example/x" << "" << completed << noise << true;
        QTest::newRow("transport error") << "https://i.example/x" << "" << int(HttpResponse::Outcome::TransportError)
                                         << QByteArray() << true;
        QTest::newRow("too large") << "http://i.example/x" << "" << int(HttpResponse::Outcome::TooLarge)
                                   << QByteArray() << true;
        QTest::newRow("empty address") << "" << "" << -1 << QByteArray() << false;
        QTest::newRow("local file") << "file:///etc/passwd" << "" << -1 << QByteArray() << false;
        QTest::newRow("other scheme") << "ftp://i.example/x" << "" << -1 << QByteArray() << false;
        QTest::newRow("not an address") << "http://" << "" << -1 << QByteArray() << false;
        QTest::newRow("script error") << "" << "Spotify got an error" << -1 << QByteArray() << false;
    }
    void artworkFallsBackToTheIcon()
    {
        QFETCH(QString, address);
        QFETCH(QString, scriptError);
        QFETCH(int, outcome);
        QFETCH(QByteArray, body);
        QFETCH(bool, downloads);
        Rig rig;
        rig.apps.launch(kSpotifyId, {{}, solid(Qt::green)});
        rig.spotify.artAddress = address;
        rig.spotify.artError = scriptError;
        if (!scriptError.isEmpty())
            QTest::ignoreMessage(QtInfoMsg, qPrintable("[NowPlayingManager] Spotify artwork fetch failed: " + scriptError));
        NowPlayingManager &manager = rig.start();
        QCOMPARE(rig.http.pendingCount(), downloads ? 1 : 0);
        if (downloads) {
            HttpResponse response;
            response.outcome = HttpResponse::Outcome(outcome);
            response.body = body;
            rig.http.reply(response);
            rig.scheduler.runPending();
        }
        QCOMPARE(manager.albumArt(), solid(Qt::green));
    }

    void musicArtworkComesFromTheScript_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("picture") << pngBytes(Qt::blue) << "" << QColor(Qt::blue);
        QTest::newRow("no artwork") << QByteArray() << "" << QColor(Qt::gray);
        QTest::newRow("not a picture") << QByteArray("hello") << "" << QColor(Qt::gray);
        QTest::newRow("error") << QByteArray() << "Music got an error" << QColor(Qt::gray);
    }
    void musicArtworkComesFromTheScript()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        Rig rig;
        rig.apps.launch(kMusicId, {{}, solid(Qt::gray)});
        rig.music.artBytes = bytes;
        rig.music.artError = error;
        if (!error.isEmpty())
            QTest::ignoreMessage(QtInfoMsg, qPrintable("[NowPlayingManager] Music artwork fetch failed: " + error));
        NowPlayingManager &manager = rig.start();
        QTEST(manager.albumArt().pixelColor(0, 0), "expected");
    }

    void closedStaysUntilTheTrackChanges()
    {
        Rig rig;
        rig.apps.launch(kSpotifyId);
        rig.apps.launch(kMusicId);
        rig.spotify.reply = QStringLiteral("playing|Song|Artist");
        rig.music.reply = QStringLiteral("stopped|||");
        NowPlayingManager &manager = rig.start();
        manager.closeForCurrentTrack();
        rig.spotify.reply = QStringLiteral("paused|Song|Artist");
        rig.poll();
        rig.spotify.reply = QStringLiteral("playing|Song|Someone else");
        rig.poll();
        QVERIFY(manager.isClosedForCurrentTrack());

        // The same title from the other player is another track.
        rig.spotify.reply = QStringLiteral("stopped|||");
        rig.music.reply = QStringLiteral("playing|Song|Artist");
        rig.poll();
        QVERIFY(!manager.isClosedForCurrentTrack());
        manager.closeForCurrentTrack();
        rig.music.reply = QStringLiteral("playing|Next|Artist");
        rig.poll();
        QVERIFY(!manager.isClosedForCurrentTrack());
    }

    void progressRunsFromTheNotification_data()
    {
        QTest::addColumn<QString>("notification");
        QTest::addColumn<QVariantMap>("numbers");
        QTest::addColumn<double>("duration");
        QTest::addColumn<double>("after3s");
        QTest::addColumn<double>("after100s");
        const QString music = NowPlayingManager::kMusicNotification;
        const QString spotify = NowPlayingManager::kSpotifyNotification;
        QTest::newRow("music from zero, no length")
            << music << QVariantMap{{"Total Time", 0}} << 0.0 << 3.0 << 100.0;
        QTest::newRow("music capped at its length")
            << music << QVariantMap{{"Total Time", 50}} << 50.0 << 3.0 << 50.0;
        QTest::newRow("spotify from its position")
            << spotify << QVariantMap{{"Playing Position", 42.5}, {"Duration", qint64(0)}} << 0.0 << 45.5 << 142.5;
        QTest::newRow("spotify capped")
            << spotify << QVariantMap{{"Playing Position", 10}, {"Duration", 11u}} << 11.0 << 11.0 << 11.0;
        QTest::newRow("wrong types read as 0")
            << spotify << QVariantMap{{"Playing Position", "10"}, {"Duration", QStringList()}} << 0.0 << 3.0 << 100.0;
        QTest::newRow("infinite position reads as 0")
            << spotify << QVariantMap{{"Playing Position", qInf()}} << 0.0 << 3.0 << 100.0;
    }
    void progressRunsFromTheNotification()
    {
        QFETCH(QString, notification);
        QFETCH(QVariantMap, numbers);
        Rig rig;
        NowPlayingManager &manager = rig.start();
        QVariantMap userInfo = payload(QStringLiteral("Playing"), QStringLiteral("Song"));
        userInfo.insert(numbers);
        rig.scheduler.advance(5000); // time before the notification does not count
        rig.post(notification, userInfo);
        QTEST(manager.duration(), "duration");
        rig.scheduler.advance(3000);
        QTEST(manager.elapsedTime(), "after3s");
        rig.scheduler.advance(97000);
        QTEST(manager.elapsedTime(), "after100s");
    }

    void aPausedNotificationStopsTheProgress()
    {
        Rig rig;
        rig.apps.launch(kMusicId);
        rig.music.reply = QStringLiteral("stopped|||");
        NowPlayingManager &manager = rig.start();
        rig.post(NowPlayingManager::kMusicNotification, payload(QStringLiteral("Playing"), QStringLiteral("Song")));
        QVERIFY(manager.isProgressTimerRunning());
        rig.scheduler.advance(4000);
        QCOMPARE(manager.elapsedTime(), 4.0);
        rig.post(NowPlayingManager::kMusicNotification, payload(QStringLiteral("Paused"), QStringLiteral("Song")));
        QVERIFY(!manager.isProgressTimerRunning());
        QVERIFY(!manager.isPlaying());
        rig.scheduler.advance(10000);
        QCOMPARE(manager.elapsedTime(), 4.0);
        // The poll never starts the progress, even when it finds the player playing.
        rig.music.reply = QStringLiteral("playing|Song|Artist");
        rig.poll();
        QVERIFY(manager.isPlaying());
        QVERIFY(!manager.isProgressTimerRunning());
    }

    void notificationPayloadsAreReadDefensively()
    {
        Rig rig;
        rig.apps.launch(kMusicId, {QStringLiteral("Elisa"), {}});
        NowPlayingManager &manager = rig.start();
        QCOMPARE(manager.appName(), QStringLiteral("Elisa"));
        QSignalSpy appNameChanged(&manager, &NowPlayingManager::appNameChanged);
        rig.post(NowPlayingManager::kSpotifyNotification, {});
        rig.post(QStringLiteral("com.example.other"), payload(QStringLiteral("Playing"), QStringLiteral("X")));
        QCOMPARE(appNameChanged.count(), 0);

        rig.post(NowPlayingManager::kSpotifyNotification,
                 {{QStringLiteral("Player State"), 1}, {QStringLiteral("Name"), 5}, {QStringLiteral("Artist"), true}});
        QVERIFY(!manager.isPlaying());
        QCOMPARE(manager.songTitle(), QStringLiteral("Song"));
        QCOMPARE(manager.artistName(), QStringLiteral("Artist"));
        QCOMPARE(manager.appName(), QStringLiteral("Spotify"));
    }

    void commandsGoToThePlayerShown_data()
    {
        QTest::addColumn<QString>("shown"); // the player applied before, empty: none yet
        QTest::addColumn<QString>("expected");
        QTest::newRow("music") << "music" << "tell application \"Music\" to next track";
        QTest::newRow("spotify") << "spotify" << "tell application \"Spotify\" to next track";
        QTest::newRow("no player seen yet") << "" << "tell application \"Music\" to next track";
    }
    void commandsGoToThePlayerShown()
    {
        QFETCH(QString, shown);
        Rig rig;
        if (shown == u"music")
            rig.apps.launch(kMusicId, {QStringLiteral("Lollypop"), {}});
        if (shown == u"spotify")
            rig.apps.launch(kSpotifyId);
        NowPlayingManager &manager = rig.start();
        rig.scripts.clearRan();
        manager.sendCommand(QStringLiteral("next track"));
        rig.scheduler.runPending();
        QFETCH(QString, expected);
        // The command, then the refresh it triggers.
        QStringList ran{expected};
        if (shown == u"music")
            ran << PlayerScripts::stateQuery(QStringLiteral("Music"));
        if (shown == u"spotify")
            ran << PlayerScripts::stateQuery(QStringLiteral("Spotify"));
        QCOMPARE(rig.scripts.ran(), ran);
    }

    void aFailedCommandIsLoggedAndStillRefreshes()
    {
        Rig rig;
        rig.apps.launch(kSpotifyId);
        rig.spotify.commandError = QStringLiteral("Spotify is not responding");
        NowPlayingManager &manager = rig.start();
        rig.spotify.reply = QStringLiteral("paused|Song|Artist");
        QTest::ignoreMessage(QtInfoMsg, "[NowPlayingManager] playpause on Spotify failed: Spotify is not responding");
        manager.sendCommand(QStringLiteral("playpause"));
        rig.scheduler.runPending();
        QVERIFY(!manager.isPlaying());
    }

    void stopsWithTheManager()
    {
        Rig rig;
        rig.apps.launch(kMusicId);
        rig.queue.holdWork(true);
        rig.start();
        rig.manager.reset();
        rig.queue.runAllHeld(); // a poll already queued finds no manager
        rig.scheduler.runPending();
        rig.scripts.clearRan();
        rig.scheduler.advance(60000);
        QCOMPARE(rig.queue.heldCount(), 0);
        QVERIFY(rig.scripts.ran().isEmpty());
    }

    void artworkDecodingIsBounded_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QSize>("decoded");
        QTest::newRow("small") << QSize(300, 300) << QSize(300, 300);
        QTest::newRow("large is scaled down") << QSize(2048, 1024) << QSize(1024, 512);
        QTest::newRow("declared too wide") << QSize(ArtworkImage::kMaxDeclaredSide + 1, 2) << QSize();
    }
    void artworkDecodingIsBounded()
    {
        QFETCH(QSize, size);
        const QImage image = ArtworkImage::decode(pngBytes(Qt::red, size));
        QTEST(image.isNull() ? QSize() : image.size(), "decoded");
    }
};

QTEST_GUILESS_MAIN(TestNowPlayingManager)
#include "tst_nowplayingmanager.moc"
