#include "fakes/FakeHttpClient.h"
#include "fakes/FakeMediaPlayers.h"
#include "fakes/InlineWorkQueue.h"
#include "fakes/TestImages.h"
#include "fakes/VirtualScheduler.h"
#include "sources/ArtworkImage.h"
#include "sources/NowPlayingManager.h"

#include <QSignalSpy>
#include <QTest>

using namespace talvo;
using namespace Qt::StringLiterals;
using Command = FakeMediaPlayers::Command;

namespace {

constexpr PlayerSlot kSpotify = PlayerSlot::Spotify;
constexpr PlayerSlot kOther = PlayerSlot::Other;

QImage solid(QColor colour)
{
    return solidImage(colour, {4, 4});
}

// "playing|Song|Artist", "paused|...", "stopped", "!error" or "" (not running), for table rows.
void setPlayer(FakeMediaPlayers::Player &player, const QString &row)
{
    player.running = !row.isEmpty();
    player.statusError = row.startsWith(u'!') ? row.mid(1) : QString();
    const QStringList parts = row.split(u'|');
    player.state = parts.at(0) == u"playing" ? PlaybackState::Playing
        : parts.at(0) == u"paused"           ? PlaybackState::Paused
                                             : PlaybackState::Stopped;
    player.title = parts.value(1);
    player.artist = parts.value(2);
}

struct Rig
{
    FakeMediaPlayers players;
    FakeHttpClient http;
    InlineWorkQueue queue;
    VirtualScheduler scheduler;
    std::unique_ptr<NowPlayingManager> manager;

    NowPlayingManager &start()
    {
        manager = std::make_unique<NowPlayingManager>(players, http, queue, scheduler);
        scheduler.runPending();
        return *manager;
    }
    void poll() { scheduler.advance(NowPlayingManager::kRefreshInterval); }
    void announce(PlayerSlot slot, PlaybackState state, const QString &title,
                  std::optional<std::chrono::microseconds> length = {},
                  std::optional<std::chrono::microseconds> position = {})
    {
        players.announce(slot, state, title, length, position);
        scheduler.runPending();
    }
};

} // namespace

class TestNowPlayingManager : public QObject
{
    Q_OBJECT
private slots:
    void choosesTheSource_data()
    {
        QTest::addColumn<QString>("spotify"); // see setPlayer()
        QTest::addColumn<QString>("other");
        QTest::addColumn<QString>("otherName");
        QTest::addColumn<QString>("shown"); // player, title, playing
        QTest::newRow("spotify paused, other playing") << "paused|S|a" << "playing|M|b" << "" << "Music M playing";
        QTest::newRow("both paused") << "paused|S|a" << "paused|M|b" << "" << "Spotify S paused";
        QTest::newRow("spotify stopped, other paused") << "stopped" << "paused|M|b" << "" << "Music M paused";
        QTest::newRow("only the other, named by itself") << "" << "paused|M|b" << "Rhythmbox" << "Rhythmbox M paused";
        QTest::newRow("spotify query fails") << "!timeout" << "paused|M|b" << "" << "Music M paused";
    }
    void choosesTheSource()
    {
        QFETCH(QString, spotify);
        QFETCH(QString, other);
        QFETCH(QString, otherName);
        Rig rig;
        setPlayer(rig.players[kSpotify], spotify);
        setPlayer(rig.players[kOther], other);
        rig.players[kOther].name = otherName;
        if (spotify.startsWith(u'!'))
            QTest::ignoreMessage(QtWarningMsg, "query of Spotify failed: timeout");
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
        rig.players[kOther].running = true;
        rig.players[kOther].artworkBytes = pngBytes(Qt::red);
        NowPlayingManager &manager = rig.start();
        QVERIFY(manager.hasAlbumArt());

        setPlayer(rig.players[kOther], running ? u"stopped"_s : QString());
        setPlayer(rig.players[kSpotify], running ? u"stopped"_s : QString());
        rig.players.statusAsks = 0;
        QSignalSpy spies[] = {{&manager, &NowPlayingManager::isPlayingChanged},
                              {&manager, &NowPlayingManager::songTitleChanged},
                              {&manager, &NowPlayingManager::artistNameChanged},
                              {&manager, &NowPlayingManager::albumArtChanged},
                              {&manager, &NowPlayingManager::appNameChanged}};
        rig.poll();
        // A player that is not running is never asked.
        QCOMPARE(rig.players.statusAsks, running ? 2 : 0);
        for (const QSignalSpy &spy : spies)
            QCOMPARE(spy.count(), 0);
        QVERIFY(manager.isPlaying());
    }

    void emptyTitleOrArtistKeepsTheLastOne()
    {
        Rig rig;
        rig.players[kOther].running = true;
        NowPlayingManager &manager = rig.start();
        setPlayer(rig.players[kOther], u"playing|Next|"_s);
        rig.poll();
        QCOMPARE(manager.songTitle(), u"Next"_s);
        QCOMPARE(manager.artistName(), u"Artist"_s);
        setPlayer(rig.players[kOther], u"paused||Other"_s);
        rig.players.artworkAsks.clear();
        rig.poll();
        QCOMPARE(manager.songTitle(), u"Next"_s);
        QCOMPARE(manager.artistName(), u"Other"_s);
        // An empty title is no new track: no artwork is asked for.
        QVERIFY(rig.players.artworkAsks.isEmpty());
    }

    void artworkIsFetchedOncePerTrack()
    {
        Rig rig;
        rig.players[kSpotify].running = true;
        rig.players[kSpotify].icon = solid(Qt::green);
        rig.players[kSpotify].artworkAddress = u"https://images.example/a.png"_s;
        NowPlayingManager &manager = rig.start();
        QCOMPARE(rig.http.requested(), QList<QUrl>{QUrl(rig.players[kSpotify].artworkAddress)});
        QCOMPARE(rig.http.pendingRequest().maxBodyBytes, NowPlayingManager::kMaxArtworkBytes);
        rig.http.replyBody(pngBytes(Qt::blue));
        rig.scheduler.runPending();
        QCOMPARE(manager.albumArt().pixelColor(0, 0), QColor(Qt::blue));
        QCOMPARE(manager.appIcon(), solid(Qt::green));
        manager.closeForCurrentTrack();

        // The same track again, by poll and by announcement.
        rig.poll();
        rig.announce(kSpotify, PlaybackState::Playing, u"Song"_s);
        rig.poll();
        QCOMPARE(rig.players.artworkAsks, QList<PlayerSlot>{kSpotify});
        QCOMPARE(rig.http.requested().size(), 1);
        QVERIFY(manager.isClosedForCurrentTrack());

        // A new track by announcement, then seen again by the poll.
        rig.players[kSpotify].title = u"Second"_s;
        rig.announce(kSpotify, PlaybackState::Playing, u"Second"_s);
        rig.poll();
        QCOMPARE(rig.players.artworkAsks.size(), 2);
        QCOMPARE(manager.artTrackKey(), u"spotify|Second"_s);
        QVERIFY(!manager.isClosedForCurrentTrack());
    }

    void aLateArtworkAnswerIsDropped()
    {
        Rig rig;
        rig.players[kOther].running = true;
        rig.players[kOther].icon = solid(Qt::gray);
        rig.queue.holdWork(true);
        NowPlayingManager &manager = rig.start();
        rig.queue.runHeld(); // the first poll
        rig.scheduler.runPending();
        QCOMPARE(rig.queue.heldCount(), 1); // artwork of "Song"
        rig.announce(kOther, PlaybackState::Playing, u"Other"_s);
        QCOMPARE(rig.queue.heldCount(), 2);

        QSignalSpy artChanged(&manager, &NowPlayingManager::albumArtChanged);
        rig.players[kOther].artworkBytes = pngBytes(Qt::red);
        rig.queue.runHeld(); // the answer for "Song" arrives after "Other" started
        rig.scheduler.runPending();
        QCOMPARE(artChanged.count(), 0);
        rig.players[kOther].artworkBytes = pngBytes(Qt::blue);
        rig.queue.runHeld();
        rig.scheduler.runPending();
        QCOMPARE(manager.albumArt().pixelColor(0, 0), QColor(Qt::blue));
    }

    void artworkFallsBackToTheIcon_data()
    {
        QTest::addColumn<bool>("spotify");
        QTest::addColumn<QString>("address"); // Spotify: the address; the other player: the bytes
        QTest::addColumn<QString>("error");
        QTest::addColumn<int>("outcome"); // HttpResponse::Outcome of the download, -1: none
        const int completed = int(HttpResponse::Outcome::Completed);
        QTest::newRow("spotify, undecodable body") << true << "https://i.example/x" << "" << completed;
        QTest::newRow("spotify, transport error")
            << true << "https://i.example/x" << "" << int(HttpResponse::Outcome::TransportError);
        QTest::newRow("spotify, local file") << true << "file:///etc/passwd" << "" << -1;
        QTest::newRow("spotify, error") << true << "" << "Spotify got an error" << -1;
        QTest::newRow("other, no artwork") << false << "" << "" << -1;
        QTest::newRow("other, not a picture") << false << "hello" << "" << -1;
        QTest::newRow("other, error") << false << "" << "file too large" << -1;
    }
    void artworkFallsBackToTheIcon()
    {
        QFETCH(bool, spotify);
        QFETCH(QString, address);
        QFETCH(QString, error);
        QFETCH(int, outcome);
        Rig rig;
        FakeMediaPlayers::Player &player = rig.players[spotify ? kSpotify : kOther];
        player.running = true;
        player.icon = solid(Qt::green);
        player.artworkAddress = address;
        player.artworkBytes = address.toUtf8();
        player.artworkError = error;
        if (!error.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, qPrintable(u"artwork of %1 failed: %2"_s
                                                           .arg(spotify ? u"Spotify"_s : u"the other player"_s, error)));
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
        setPlayer(rig.players[kSpotify], u"playing|Song|Artist"_s);
        setPlayer(rig.players[kOther], u"stopped"_s);
        NowPlayingManager &manager = rig.start();
        manager.closeForCurrentTrack();
        setPlayer(rig.players[kSpotify], u"paused|Song|Artist"_s);
        rig.poll();
        setPlayer(rig.players[kSpotify], u"playing|Song|Someone else"_s);
        rig.poll();
        QVERIFY(manager.isClosedForCurrentTrack());

        // The same title from the other player is another track.
        setPlayer(rig.players[kSpotify], u"stopped"_s);
        setPlayer(rig.players[kOther], u"playing|Song|Artist"_s);
        rig.poll();
        QVERIFY(!manager.isClosedForCurrentTrack());
        manager.closeForCurrentTrack();
        setPlayer(rig.players[kOther], u"playing|Next|Artist"_s);
        rig.poll();
        QVERIFY(!manager.isClosedForCurrentTrack());
    }

    void progressRunsFromTheAnnouncement_data()
    {
        QTest::addColumn<int>("lengthS"); // -1: none
        QTest::addColumn<double>("positionS"); // -1: none
        QTest::addColumn<double>("duration");
        QTest::addColumn<double>("after3s");
        QTest::addColumn<double>("after100s");
        QTest::newRow("from zero, no length") << -1 << -1.0 << 0.0 << 3.0 << 100.0;
        QTest::newRow("capped at its length") << 50 << -1.0 << 50000.0 << 3.0 << 50.0;
        QTest::newRow("from its position") << 0 << 42.5 << 0.0 << 45.5 << 142.5;
        QTest::newRow("from its position, capped") << 11 << 10.0 << 11000.0 << 11.0 << 11.0;
    }
    void progressRunsFromTheAnnouncement()
    {
        QFETCH(int, lengthS);
        QFETCH(double, positionS);
        Rig rig;
        NowPlayingManager &manager = rig.start();
        rig.scheduler.advance(5000); // time before the announcement does not count
        const auto microseconds = [](double s) { return std::chrono::microseconds(qint64(s * 1e6)); };
        rig.announce(kSpotify, PlaybackState::Playing, u"Song"_s,
                     lengthS >= 0 ? std::optional(microseconds(lengthS)) : std::nullopt,
                     positionS >= 0 ? std::optional(microseconds(positionS)) : std::nullopt);
        QTEST(manager.duration(), "duration");
        QCOMPARE(manager.elapsedTime(), std::max(positionS, 0.0));
        rig.scheduler.advance(3000);
        QTEST(manager.elapsedTime(), "after3s");
        rig.scheduler.advance(97000);
        QTEST(manager.elapsedTime(), "after100s");
    }

    void aPausedAnnouncementStopsTheProgress()
    {
        Rig rig;
        setPlayer(rig.players[kOther], u"stopped"_s);
        NowPlayingManager &manager = rig.start();
        rig.announce(kOther, PlaybackState::Playing, u"Song"_s);
        rig.scheduler.advance(4000);
        QCOMPARE(manager.elapsedTime(), 4.0);
        rig.announce(kOther, PlaybackState::Paused, u"Song"_s);
        QVERIFY(!manager.isProgressTimerRunning());
        QVERIFY(!manager.isPlaying());
        rig.scheduler.advance(10000);
        QCOMPARE(manager.elapsedTime(), 4.0);
        // The poll never starts the progress, even when it finds the player playing.
        setPlayer(rig.players[kOther], u"playing|Song|Artist"_s);
        rig.poll();
        QVERIFY(manager.isPlaying());
        QVERIFY(!manager.isProgressTimerRunning());
    }

    void aPlayerThatQuitsStopsTheDisplay()
    {
        Rig rig;
        rig.players[kSpotify].running = true;
        NowPlayingManager &manager = rig.start();
        QVERIFY(manager.isPlaying());
        rig.players[kSpotify].running = false;
        rig.announce(kSpotify, PlaybackState::Stopped, QString());
        QVERIFY(!manager.isPlaying());
        QVERIFY(!manager.isProgressTimerRunning());
        QCOMPARE(manager.songTitle(), u"Song"_s); // the last track stays
        QCOMPARE(manager.appName(), u"Spotify"_s);
    }

    void commandsGoToThePlayerShown_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("shown"); // the slot applied before, -1: none yet
        QTest::addColumn<int>("expected"); // the slot, -1: nothing sent
        QTest::addColumn<int>("sent");
        const int spotify = int(kSpotify);
        const int other = int(kOther);
        QTest::newRow("other") << "next track" << other << other << int(PlayerCommand::Next);
        QTest::newRow("spotify") << "playpause" << spotify << spotify << int(PlayerCommand::PlayPause);
        QTest::newRow("no player seen yet") << "previous track" << -1 << other << int(PlayerCommand::Previous);
        QTest::newRow("unknown command") << "stop" << spotify << -1 << 0;
    }
    void commandsGoToThePlayerShown()
    {
        QFETCH(QString, command);
        QFETCH(int, shown);
        QFETCH(int, expected);
        QFETCH(int, sent);
        Rig rig;
        if (shown >= 0)
            rig.players[PlayerSlot(shown)].running = true;
        NowPlayingManager &manager = rig.start();
        rig.players.statusAsks = 0;
        if (expected < 0)
            QTest::ignoreMessage(QtWarningMsg, "unknown command: stop");
        manager.sendCommand(command);
        rig.scheduler.runPending();
        if (expected < 0) {
            QVERIFY(rig.players.commands.isEmpty());
            return;
        }
        QCOMPARE(rig.players.commands, (QList<Command>{{PlayerSlot(expected), PlayerCommand(sent)}}));
        // Then the refresh it triggers.
        QCOMPARE(rig.players.statusAsks, shown >= 0 ? 1 : 0);
    }

    void aFailedCommandIsLoggedAndStillRefreshes()
    {
        Rig rig;
        rig.players[kSpotify].running = true;
        rig.players[kSpotify].commandError = u"Spotify is not responding"_s;
        NowPlayingManager &manager = rig.start();
        rig.players[kSpotify].state = PlaybackState::Paused;
        QTest::ignoreMessage(QtWarningMsg, "playpause on Spotify failed: Spotify is not responding");
        manager.sendCommand(PlayerCommand::PlayPause);
        rig.scheduler.runPending();
        QVERIFY(!manager.isPlaying());
    }

    void stopsWithTheManager()
    {
        Rig rig;
        rig.players[kOther].running = true;
        rig.queue.holdWork(true);
        rig.start();
        rig.manager.reset();
        rig.queue.runAllHeld(); // a poll already queued finds no manager
        rig.scheduler.runPending();
        rig.players.statusAsks = 0;
        rig.scheduler.advance(60000);
        QCOMPARE(rig.queue.heldCount(), 0);
        QCOMPARE(rig.players.statusAsks, 0);
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
