#include "fakes/FakeMediaPlayers.h"
#include "fakes/FakeMprisPlayer.h"
#include "fakes/LoopbackHttpServer.h"
#include "fakes/PrivateBus.h"
#include "fakes/TestDesktopEntries.h"
#include "fakes/TestImages.h"
#include "platform/QtScheduler.h"
#include "platform/SerialWorkQueue.h"
#include "platform/linux/MprisMediaPlayers.h"
#include "platform/linux/NetworkHttpClient.h"
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

constexpr PlayerSlot kSpotify = PlayerSlot::Spotify;
constexpr PlayerSlot kOther = PlayerSlot::Other;

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

    ManagerRig() : manager(std::make_unique<NowPlayingManager>(players, http, queue, scheduler)) {}
    ~ManagerRig()
    {
        // The players live on this thread: let the queue finish talking to them
        // before waiting for it, or its last call would run into its timeout.
        manager.reset();
        auto drained = std::make_shared<std::atomic<bool>>(false);
        queue.dispatch([drained] { *drained = true; });
        if (!QTest::qWaitFor([&] { return drained->load(); }, 5000))
            qWarning("the player queue did not drain");
    }

    MprisMediaPlayers players{QDBusConnection(u"talvo"_s), kCallTimeoutMs};
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
    SerialWorkQueue m_queue{u"test.players"_s};
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

    // Calls run where the program runs them: off the main thread, which
    // keeps serving the fake players meanwhile.
    template <typename T>
    PlatformResult<T> run(std::function<PlatformResult<T>()> call)
    {
        auto result = std::make_shared<std::optional<PlatformResult<T>>>();
        auto done = std::make_shared<std::atomic<bool>>(false);
        m_queue.dispatch([call, result, done] {
            *result = call();
            done->store(true);
        });
        if (!QTest::qWaitFor([&] { return done->load(); }, 10000))
            return PlatformResult<T>::failure(u"the test gave up waiting"_s);
        return **result;
    }
    // "<state>|<title>|<artist>|<album>" or the error.
    QString status(MprisMediaPlayers &players, PlayerSlot slot)
    {
        const auto result = run<PlayerStatus>([&players, slot] { return players.status(slot); });
        if (!result.succeeded())
            return u"error: "_s + result.error;
        static const QStringList states{u"stopped"_s, u"paused"_s, u"playing"_s};
        return QStringList{states.at(int(result.value->state)), result.value->title, result.value->artist,
                           result.value->album}
            .join(u'|');
    }

    // The program's own connection.
    static QDBusConnection programBus() { return QDBusConnection(u"talvo"_s); }

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

    void findsPlayersAndChoosesTheOtherOne()
    {
        FakeMprisPlayer spotify(m_bus.address(), kSpotifyName, u"Spotify"_s, u"spotify"_s);
        FakeMprisPlayer fake(m_bus.address(), kFakeName, u"Fake Player"_s, u"fakeplayer"_s);
        FakeMprisPlayer other(m_bus.address(), kOtherName, u"Another"_s, QString());
        QVERIFY(spotify.start());
        QVERIFY(fake.start()); // there before the directory starts, found by listing
        MprisPlayers players(programBus(), kTimeoutMs);
        QVERIFY(other.start()); // appears later, seen by the watcher
        QTRY_COMPARE(players.players().size(), 3);
        QVERIFY(players.isRunning(kSpotify));
        QVERIFY(players.isRunning(kOther));

        // Neither plays: by bus name.
        QTRY_COMPARE(players.displayName(kOther), u"Another"_s);
        // A playing one comes first.
        fake.setPlaybackStatus(u"Playing"_s);
        QTRY_COMPARE(players.displayName(kOther), u"Fake Player"_s);
        QCOMPARE(players.icon(kOther).pixelColor(0, 0), QColor(Qt::magenta));
        QCOMPARE(players.displayName(kSpotify), u"Spotify"_s);

        fake.quit();
        QTRY_COMPARE(players.displayName(kOther), u"Another"_s);
        QVERIFY(players.icon(kOther).isNull()); // no entry installed
        other.quit();
        QTRY_VERIFY(!players.isRunning(kOther));
        QVERIFY(players.isRunning(kSpotify));
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

    void callsAnswerFromThePlayers()
    {
        FakeMprisPlayer spotify(m_bus.address(), kSpotifyName, u"Spotify"_s, u"spotify"_s);
        FakeMprisPlayer fake(m_bus.address(), kFakeName, u"Fake Player"_s, u"fakeplayer"_s);
        spotify.setTracks({track(u"AC|DC"_s), track(u"Second"_s)});
        fake.setTracks({{u"Lone"_s, {}, {}, {}}});
        QVERIFY(spotify.start());
        QVERIFY(fake.start());
        MprisMediaPlayers players(programBus(), kTimeoutMs);
        QTRY_VERIFY(players.isRunning(kOther) && players.isRunning(kSpotify));

        QCOMPARE(status(players, kSpotify), u"stopped|AC|DC|AC|DC Band|"_s);
        spotify.setPlaybackStatus(u"Playing"_s);
        QCOMPARE(status(players, kSpotify), u"playing|AC|DC|AC|DC Band|"_s);
        fake.setPlaybackStatus(u"Paused"_s);
        QCOMPARE(status(players, kOther), u"paused|Lone||"_s);

        // Transport goes to the player in the slot.
        spotify.setCurrent(1);
        QVERIFY(run<std::monostate>([&] { return players.send(kSpotify, PlayerCommand::Previous); }).succeeded());
        QCOMPARE(spotify.current(), 0);
        QVERIFY(fake.calls().filter(u"Player."_s).isEmpty());

        // Nothing is launched for an empty slot.
        fake.quit();
        QTRY_VERIFY(!players.isRunning(kOther));
        QCOMPARE(status(players, kOther), u"error: the other player is not running"_s);
        QVERIFY(!run<std::monostate>([&] { return players.send(kOther, PlayerCommand::Next); }).succeeded());
        const auto art = run<QByteArray>([&] { return players.artworkBytes(kOther); });
        QVERIFY(art.succeeded());
        QVERIFY(art.value->isEmpty());
    }

    void artwork_data()
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
    void artwork()
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
        ArtworkReader::Limits limits;
        limits.maxBytes = 4000;
        limits.timeout = std::chrono::milliseconds(500);
        MprisMediaPlayers players(programBus(), kTimeoutMs, limits);
        QTRY_VERIFY(players.isRunning(kOther) && players.isRunning(kSpotify));

        const auto bytes = run<QByteArray>([&] { return players.artworkBytes(kOther); });
        QVERIFY2(bytes.succeeded() == succeeds, qPrintable(bytes.error));
        if (succeeds)
            QCOMPARE(*bytes.value, hasBytes ? picture : QByteArray());
        // The address alone is handed over as it is.
        const auto address = run<QString>([&] { return players.artworkAddress(kSpotify); });
        QVERIFY(address.succeeded());
        QCOMPARE(*address.value, artUrl);
    }

    void announcementsCarryTheTrack_data()
    {
        QTest::addColumn<QVariant>("length");
        QTest::addColumn<qint64>("expected"); // microseconds, -1: none
        QTest::newRow("int64") << QVariant(qlonglong(215000000)) << qint64(215000000);
        QTest::newRow("uint64") << QVariant(qulonglong(215000000)) << qint64(215000000);
        QTest::newRow("int32") << QVariant(int(215000000)) << qint64(215000000);
        QTest::newRow("double") << QVariant(215000000.0) << qint64(215000000);
        QTest::newRow("negative") << QVariant(qlonglong(-1)) << qint64(-1);
        QTest::newRow("text") << QVariant(u"215000000"_s) << qint64(-1);
    }
    void announcementsCarryTheTrack()
    {
        QFETCH(QVariant, length);
        QFETCH(qint64, expected);
        FakeMprisPlayer fake(m_bus.address(), kFakeName, u"Fake Player"_s, u"fakeplayer"_s);
        fake.setTracks({track(u"One"_s, length)});
        QVERIFY(fake.start());
        MprisMediaPlayers players(programBus(), kTimeoutMs);
        QSignalSpy announced(&players, &MediaPlayers::statusChanged);
        QTRY_VERIFY(announced.count() >= 1); // what the player says when first asked
        announced.clear();

        fake.setPlaybackStatus(u"Playing"_s);
        QTRY_COMPARE(announced.count(), 1);
        PlayerStatus status = FakeMediaPlayers::statusOf(kOther, PlaybackState::Playing, u"One"_s, u"One Band"_s);
        if (expected >= 0)
            status.length = std::chrono::microseconds(expected);
        QCOMPARE(announced.at(0).at(0).value<PlayerStatus>(), status);
    }

    void spotifyAnnouncementsReadThePosition()
    {
        FakeMprisPlayer spotify(m_bus.address(), kSpotifyName, u"Spotify"_s, u"spotify"_s);
        spotify.setTracks({track(u"One"_s, qulonglong(180000000)), track(u"Two"_s)});
        spotify.setPosition(qlonglong(42500000));
        spotify.setAnnounceByInvalidation(true); // some players only say that something changed
        QVERIFY(spotify.start());
        MprisMediaPlayers players(programBus(), kTimeoutMs);
        QSignalSpy announced(&players, &MediaPlayers::statusChanged);
        QTRY_VERIFY(announced.count() >= 1);
        announced.clear();

        spotify.setPlaybackStatus(u"Playing"_s);
        QTRY_COMPARE(announced.count(), 1);
        const auto status = announced.at(0).at(0).value<PlayerStatus>();
        QCOMPARE(status.slot, kSpotify);
        QCOMPARE(status.state, PlaybackState::Playing);
        QCOMPARE(status.length, std::optional(std::chrono::microseconds(180000000)));
        QCOMPARE(status.position, std::optional(std::chrono::microseconds(42500000)));

        // Quitting says Stopped once, with no track.
        spotify.quit();
        QTRY_COMPARE(announced.count(), 2);
        QCOMPARE(announced.at(1).at(0).value<PlayerStatus>(), FakeMediaPlayers::statusOf(kSpotify, PlaybackState::Stopped));
    }

    void onlyThePlayerInTheOtherSlotIsHeard()
    {
        FakeMprisPlayer fake(m_bus.address(), kFakeName, u"Fake Player"_s, QString());
        FakeMprisPlayer other(m_bus.address(), kOtherName, u"Another"_s, QString());
        fake.setTracks({track(u"One"_s), track(u"Two"_s)});
        other.setTracks({track(u"Other"_s), track(u"Other Two"_s)});
        fake.setPlaybackStatus(u"Playing"_s, false);
        other.setPlaybackStatus(u"Paused"_s, false);
        QVERIFY(fake.start());
        QVERIFY(other.start());
        MprisMediaPlayers players(programBus(), kTimeoutMs);
        QTRY_COMPARE(players.displayName(kOther), u"Fake Player"_s);
        QSignalSpy announced(&players, &MediaPlayers::statusChanged);

        other.setCurrent(1); // news from the player not shown
        fake.setCurrent(1);
        QTRY_COMPARE(announced.count(), 1);
        QCOMPARE(announced.at(0).at(0).value<PlayerStatus>().title, u"Two"_s);

        // The other one quitting is no news; the shown one quitting is.
        other.quit();
        fake.setCurrent(0);
        QTRY_COMPARE(announced.count(), 2);
        fake.quit();
        QTRY_COMPARE(announced.count(), 3);
        QCOMPARE(announced.at(2).at(0).value<PlayerStatus>().state, PlaybackState::Stopped);
        QTest::qWait(100); // nothing else on its way
        QCOMPARE(announced.count(), 3);
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
        QTRY_VERIFY(rig.players.isRunning(kSpotify));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^query of Spotify failed: .+"_s));
        manager.refresh();
        QTRY_COMPARE(manager.appName(), u"Fake Player"_s);
        QVERIFY(manager.isPlaying());
        QVERIFY(hung->calls().contains(u"Properties.GetAll"_s));
        QVERIFY2(longestGap < ManagerRig::kCallTimeoutMs / 2, qPrintable(QString::number(longestGap)));
        // One call out to it at a time, each held until its timeout.
        QVERIFY2(hung->calls().size() <= 1 + clock.elapsed() / ManagerRig::kCallTimeoutMs,
                 qPrintable(hung->calls().join(u' ')));
    }
};

QTEST_MAIN(TestMprisPlayers)
#include "tst_mprisplayers.moc"
