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
using namespace Qt::StringLiterals;

namespace {

const QString kSpotifyId = u"com.spotify.client"_s;
const QString kMusicId = u"com.apple.Music"_s;

QImage solid(QColor colour)
{
    return solidImage(colour, {4, 4});
}

// One player as the scripts see it; a non-empty error makes that script fail.
struct FakePlayer
{
    QString reply = u"playing|Song|Artist"_s;
    QString error;
    QByteArray artBytes;   // Music artwork
    QString artAddress;    // Spotify artwork
    QString artError;
    QString commandError;
};

ScriptResult answer(const QString &error, ScriptReply reply)
{
    return error.isEmpty() ? ScriptResult::ok(std::move(reply)) : ScriptResult::error(error);
}

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
        for (auto [name, player] : {std::pair{u"Spotify"_s, &spotify}, std::pair{u"Music"_s, &music}}) {
            scripts.handle(PlayerScripts::stateQuery(name),
                           [p = player](const QString &) { return answer(p->error, ScriptReply::fromText(p->reply)); });
            scripts.handlePrefix(u"tell application \""_s + name + u"\" to "_s, [p = player](const QString &) {
                return answer(p->commandError, ScriptReply::fromText({}));
            });
        }
        scripts.handle(PlayerScripts::musicArtwork(),
                       [this](const QString &) { return answer(music.artError, ScriptReply::fromData(music.artBytes)); });
        scripts.handle(PlayerScripts::spotifyArtwork(), [this](const QString &) {
            return answer(spotify.artError, ScriptReply::fromText(spotify.artAddress));
        });
    }

    NowPlayingManager &start()
    {
        manager = std::make_unique<NowPlayingManager>(scripts, apps, notifications, http, queue, scheduler);
        scheduler.runPending();
        return *manager;
    }
    void poll() { scheduler.advance(NowPlayingManager::kRefreshInterval); }
    void post(const QString &name, const QString &state, const QString &title, QVariantMap extra = {})
    {
        extra.insert({{u"Player State"_s, state}, {u"Name"_s, title}, {u"Artist"_s, u"Artist"_s}});
        emit notifications.posted(name, extra);
        scheduler.runPending();
    }
    int ranCount(const QString &script) const { return int(scripts.ran().count(script)); }
};

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
        QTest::newRow("fewer than three parts") << "playing|Song" << false << false << "" << "";
        QTest::newRow("stopped, four parts") << "stopped|||" << false << false << "" << "";
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

    void choosesTheSource_data()
    {
        QTest::addColumn<QString>("spotifyReply"); // empty: not running; "!...": the query fails
        QTest::addColumn<QString>("musicReply");
        QTest::addColumn<QString>("musicName");
        QTest::addColumn<QString>("shown"); // player, title, playing
        QTest::newRow("spotify paused, music playing") << "paused|S|a" << "playing|M|b" << "" << "Apple Music M playing";
        QTest::newRow("both paused") << "paused|S|a" << "paused|M|b" << "" << "Spotify S paused";
        QTest::newRow("spotify stopped, music paused") << "stopped|||" << "paused|M|b" << "" << "Apple Music M paused";
        QTest::newRow("only music, named by itself") << "" << "paused|M|b" << "Rhythmbox" << "Rhythmbox M paused";
        QTest::newRow("spotify malformed, music playing") << "garbage" << "playing|M|b" << "" << "Apple Music M playing";
        QTest::newRow("spotify query fails") << "!timeout" << "paused|M|b" << "" << "Apple Music M paused";
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
        if (spotifyReply.startsWith(u'!')) {
            rig.spotify.error = spotifyReply.mid(1);
            QTest::ignoreMessage(QtInfoMsg, "[NowPlayingManager] query Spotify failed: timeout");
        }
        NowPlayingManager &manager = rig.start();
        QTEST(u"%1 %2 %3"_s.arg(manager.appName(), manager.songTitle(), manager.isPlaying() ? u"playing"_s : u"paused"_s),
              "shown");
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
        QVERIFY(manager.hasAlbumArt());

        rig.apps.quit(kMusicId);
        if (running) {
            rig.apps.launch(kMusicId);
            rig.apps.launch(kSpotifyId);
            rig.music.reply = rig.spotify.reply = u"stopped|||"_s;
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
    }

    void emptyTitleOrArtistKeepsTheLastOne()
    {
        Rig rig;
        rig.apps.launch(kMusicId);
        NowPlayingManager &manager = rig.start();
        rig.music.reply = u"playing|Next|"_s;
        rig.poll();
        QCOMPARE(manager.songTitle(), u"Next"_s);
        QCOMPARE(manager.artistName(), u"Artist"_s);
        rig.music.reply = u"paused||Other"_s;
        rig.scripts.clearRan();
        rig.poll();
        QCOMPARE(manager.songTitle(), u"Next"_s);
        QCOMPARE(manager.artistName(), u"Other"_s);
        // An empty title is no new track: no artwork is asked for.
        QCOMPARE(rig.ranCount(PlayerScripts::musicArtwork()), 0);
    }

    void artworkIsFetchedOncePerTrack()
    {
        Rig rig;
        rig.apps.launch(kSpotifyId, {{}, solid(Qt::green)});
        rig.spotify.artAddress = u"https://images.example/a.png"_s;
        NowPlayingManager &manager = rig.start();
        QCOMPARE(rig.http.requested(), QList<QUrl>{QUrl(rig.spotify.artAddress)});
        QCOMPARE(rig.http.pendingRequest().maxBodyBytes, NowPlayingManager::kMaxArtworkBytes);
        rig.http.replyBody(pngBytes(Qt::blue));
        rig.scheduler.runPending();
        QCOMPARE(manager.albumArt().pixelColor(0, 0), QColor(Qt::blue));
        QCOMPARE(manager.appIcon(), solid(Qt::green));
        manager.closeForCurrentTrack();

        // The same track again, by poll and by notification.
        rig.poll();
        rig.post(NowPlayingManager::kSpotifyNotification, u"Playing"_s, u"Song"_s);
        rig.poll();
        QCOMPARE(rig.ranCount(PlayerScripts::spotifyArtwork()), 1);
        QCOMPARE(rig.http.requested().size(), 1);
        QVERIFY(manager.isClosedForCurrentTrack());

        // A new track by notification, then seen again by the poll.
        rig.spotify.reply = u"playing|Second|Artist"_s;
        rig.post(NowPlayingManager::kSpotifyNotification, u"Playing"_s, u"Second"_s);
        rig.poll();
        QCOMPARE(rig.ranCount(PlayerScripts::spotifyArtwork()), 2);
        QCOMPARE(manager.artTrackKey(), u"com.spotify.client|Second"_s);
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
        rig.post(NowPlayingManager::kMusicNotification, u"Playing"_s, u"Other"_s);
        QCOMPARE(rig.queue.heldCount(), 2);

        QSignalSpy artChanged(&manager, &NowPlayingManager::albumArtChanged);
        rig.music.artBytes = pngBytes(Qt::red);
        rig.queue.runHeld(); // the answer for "Song" arrives after "Other" started
        rig.scheduler.runPending();
        QCOMPARE(artChanged.count(), 0);
        rig.music.artBytes = pngBytes(Qt::blue);
        rig.queue.runHeld();
        rig.scheduler.runPending();
        QCOMPARE(manager.albumArt().pixelColor(0, 0), QColor(Qt::blue));
    }

    void artworkFallsBackToTheIcon_data()
    {
        QTest::addColumn<bool>("spotify");
        QTest::addColumn<QString>("address"); // Spotify: the address; Music: the bytes
        QTest::addColumn<QString>("scriptError");
        QTest::addColumn<int>("outcome"); // HttpResponse::Outcome of the download, -1: none
        const int completed = int(HttpResponse::Outcome::Completed);
        QTest::newRow("spotify, undecodable body") << true << "https://i.example/x" << "" << completed;
        QTest::newRow("spotify, transport error")
            << true << "https://i.example/x" << "" << int(HttpResponse::Outcome::TransportError);
        QTest::newRow("spotify, local file") << true << "file:///etc/passwd" << "" << -1;
        QTest::newRow("spotify, script error") << true << "" << "Spotify got an error" << -1;
        QTest::newRow("music, no artwork") << false << "" << "" << -1;
        QTest::newRow("music, not a picture") << false << "hello" << "" << -1;
    }
    void artworkFallsBackToTheIcon()
    {
        QFETCH(bool, spotify);
        QFETCH(QString, address);
        QFETCH(QString, scriptError);
        QFETCH(int, outcome);
        Rig rig;
        rig.apps.launch(spotify ? kSpotifyId : kMusicId, {{}, solid(Qt::green)});
        FakePlayer &player = spotify ? rig.spotify : rig.music;
        player.artAddress = address;
        player.artBytes = address.toUtf8();
        player.artError = scriptError;
        if (!scriptError.isEmpty())
            QTest::ignoreMessage(QtInfoMsg, qPrintable(u"[NowPlayingManager] %1 artwork fetch failed: %2"_s
                                                           .arg(spotify ? u"Spotify"_s : u"Music"_s, scriptError)));
        NowPlayingManager &manager = rig.start();
        QCOMPARE(rig.http.pendingCount(), outcome >= 0 ? 1 : 0);
        if (outcome >= 0) {
            HttpResponse response;
            response.outcome = HttpResponse::Outcome(outcome);
            response.body = "\x89PNG not really";
            rig.http.reply(response);
            rig.scheduler.runPending();
        }
        QCOMPARE(manager.albumArt(), solid(Qt::green));
    }

    void closedStaysUntilTheTrackChanges()
    {
        Rig rig;
        rig.apps.launch(kSpotifyId);
        rig.apps.launch(kMusicId);
        rig.music.reply = u"stopped|||"_s;
        NowPlayingManager &manager = rig.start();
        manager.closeForCurrentTrack();
        rig.spotify.reply = u"paused|Song|Artist"_s;
        rig.poll();
        rig.spotify.reply = u"playing|Song|Someone else"_s;
        rig.poll();
        QVERIFY(manager.isClosedForCurrentTrack());

        // The same title from the other player is another track.
        rig.spotify.reply = u"stopped|||"_s;
        rig.music.reply = u"playing|Song|Artist"_s;
        rig.poll();
        QVERIFY(!manager.isClosedForCurrentTrack());
        manager.closeForCurrentTrack();
        rig.music.reply = u"playing|Next|Artist"_s;
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
        QTest::newRow("music from zero, no length") << music << QVariantMap{{"Total Time", 0}} << 0.0 << 3.0 << 100.0;
        QTest::newRow("music capped at its length") << music << QVariantMap{{"Total Time", 50}} << 50.0 << 3.0 << 50.0;
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
        rig.scheduler.advance(5000); // time before the notification does not count
        rig.post(notification, u"Playing"_s, u"Song"_s, numbers);
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
        rig.music.reply = u"stopped|||"_s;
        NowPlayingManager &manager = rig.start();
        rig.post(NowPlayingManager::kMusicNotification, u"Playing"_s, u"Song"_s);
        rig.scheduler.advance(4000);
        QCOMPARE(manager.elapsedTime(), 4.0);
        rig.post(NowPlayingManager::kMusicNotification, u"Paused"_s, u"Song"_s);
        QVERIFY(!manager.isProgressTimerRunning());
        QVERIFY(!manager.isPlaying());
        rig.scheduler.advance(10000);
        QCOMPARE(manager.elapsedTime(), 4.0);
        // The poll never starts the progress, even when it finds the player playing.
        rig.music.reply = u"playing|Song|Artist"_s;
        rig.poll();
        QVERIFY(manager.isPlaying());
        QVERIFY(!manager.isProgressTimerRunning());
    }

    void notificationPayloadsAreReadDefensively()
    {
        Rig rig;
        rig.apps.launch(kMusicId, {u"Elisa"_s, {}});
        NowPlayingManager &manager = rig.start();
        QSignalSpy appNameChanged(&manager, &NowPlayingManager::appNameChanged);
        emit rig.notifications.posted(NowPlayingManager::kSpotifyNotification, {});
        rig.post(u"com.example.other"_s, u"Playing"_s, u"X"_s);
        QCOMPARE(appNameChanged.count(), 0);

        emit rig.notifications.posted(NowPlayingManager::kSpotifyNotification,
                                      {{u"Player State"_s, 1}, {u"Name"_s, 5}, {u"Artist"_s, true}});
        rig.scheduler.runPending();
        QVERIFY(!manager.isPlaying());
        QCOMPARE(manager.songTitle(), u"Song"_s);
        QCOMPARE(manager.artistName(), u"Artist"_s);
        QCOMPARE(manager.appName(), u"Spotify"_s);
    }

    void commandsGoToThePlayerShown_data()
    {
        QTest::addColumn<QString>("shown"); // the player applied before, empty: none yet
        QTest::addColumn<QString>("expected");
        QTest::newRow("music") << "Music" << "tell application \"Music\" to next track";
        QTest::newRow("spotify") << "Spotify" << "tell application \"Spotify\" to next track";
        QTest::newRow("no player seen yet") << "" << "tell application \"Music\" to next track";
    }
    void commandsGoToThePlayerShown()
    {
        QFETCH(QString, shown);
        QFETCH(QString, expected);
        Rig rig;
        if (!shown.isEmpty())
            rig.apps.launch(shown == u"Music" ? kMusicId : kSpotifyId, {u"Lollypop"_s, {}});
        NowPlayingManager &manager = rig.start();
        rig.scripts.clearRan();
        manager.sendCommand(u"next track"_s);
        rig.scheduler.runPending();
        // The command, then the refresh it triggers.
        QStringList ran{expected};
        if (!shown.isEmpty())
            ran << PlayerScripts::stateQuery(shown);
        QCOMPARE(rig.scripts.ran(), ran);
    }

    void aFailedCommandIsLoggedAndStillRefreshes()
    {
        Rig rig;
        rig.apps.launch(kSpotifyId);
        rig.spotify.commandError = u"Spotify is not responding"_s;
        NowPlayingManager &manager = rig.start();
        rig.spotify.reply = u"paused|Song|Artist"_s;
        QTest::ignoreMessage(QtInfoMsg, "[NowPlayingManager] playpause on Spotify failed: Spotify is not responding");
        manager.sendCommand(u"playpause"_s);
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
