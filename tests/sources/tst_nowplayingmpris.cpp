#include "fakes/FakeMprisPlayer.h"
#include "fakes/LoopbackHttpServer.h"
#include "fakes/PrivateBus.h"
#include "fakes/TestDesktopEntries.h"
#include "fakes/TestImages.h"
#include "platform/QtScheduler.h"
#include "platform/SerialWorkQueue.h"
#include "platform/linux/MprisPlayerNotifications.h"
#include "platform/linux/MprisPlayers.h"
#include "platform/linux/MprisScriptHandler.h"
#include "platform/linux/NetworkHttpClient.h"
#include "platform/linux/ScriptBridge.h"
#include "sources/NowPlayingManager.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <atomic>

using namespace talvo;

namespace {

// Long enough to tell waiting on a player from a busy machine.
constexpr int kCallTimeoutMs = 1000;

// The manager as the application builds it, over the real MPRIS side.
struct Rig
{
    explicit Rig(const QDBusConnection &bus);
    ~Rig();

    std::shared_ptr<MprisPlayers> players;
    MprisPlayerNotifications notifications{*players};
    ScriptBridge bridge;
    QtScheduler scheduler;
    NetworkHttpClient http{scheduler};
    SerialWorkQueue queue{QStringLiteral("com.talvo.artfetch")};
    std::unique_ptr<NowPlayingManager> manager;
};

Rig::Rig(const QDBusConnection &bus) : players(std::make_shared<MprisPlayers>(bus, kCallTimeoutMs))
{
    bridge.addHandler(std::make_unique<MprisScriptHandler>(players));
    manager = std::make_unique<NowPlayingManager>(bridge, *players, notifications, http, queue, scheduler);
}

Rig::~Rig()
{
    // The players live on this thread: let the queue finish talking to them
    // before waiting for it, or its last call would run into its timeout.
    manager.reset();
    auto drained = std::make_shared<std::atomic<bool>>(false);
    queue.dispatch([drained] { *drained = true; });
    if (!QTest::qWaitFor([&] { return drained->load(); }, 5000))
        qWarning("the script queue did not drain");
}

QColor colourOf(const QImage &image)
{
    return image.isNull() ? QColor() : image.pixelColor(0, 0);
}

} // namespace

// Now playing end to end: players the test serves on a session bus of its own,
// seen through the manager.
class TestNowPlayingMpris : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_data;
    PrivateBus m_bus;
    LoopbackHttpServer m_server;
    QString m_localArt;

    std::unique_ptr<FakeMprisPlayer> spotify()
    {
        auto player = std::make_unique<FakeMprisPlayer>(m_bus.address(), QStringLiteral("org.mpris.MediaPlayer2.spotify"),
                                                        QStringLiteral("Spotify"), QStringLiteral("spotify"));
        player->setTracks({{QStringLiteral("One"), {QStringLiteral("First Band")}, qlonglong(180000000),
                            m_server.url(QStringLiteral("/one.png")).toString()},
                           {QStringLiteral("Two"), {QStringLiteral("Second Band")}, qulonglong(240000000),
                            m_server.url(QStringLiteral("/two.png")).toString()}});
        return player;
    }
    std::unique_ptr<FakeMprisPlayer> otherPlayer()
    {
        auto player = std::make_unique<FakeMprisPlayer>(m_bus.address(),
                                                        QStringLiteral("org.mpris.MediaPlayer2.fakeplayer.instance7"),
                                                        QStringLiteral("Fake Player"), QStringLiteral("fakeplayer"));
        player->setTracks({{QStringLiteral("Local"), {QStringLiteral("Home Band")}, int(90000000), m_localArt},
                           {QStringLiteral("Local Two"), {QStringLiteral("Home Band")}, {}, {}}});
        return player;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(m_bus.start(), qPrintable(m_bus.error()));
        QVERIFY(m_bus.connect(QStringLiteral("talvo")).isConnected());
        QVERIFY(m_data.isValid());
        QVERIFY(installTestDesktopEntry(m_data.path(), QStringLiteral("spotify"), Qt::green));
        QVERIFY(installTestDesktopEntry(m_data.path(), QStringLiteral("fakeplayer"), Qt::magenta));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_data.path()));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(m_data.filePath(QStringLiteral("none"))));
        m_localArt = QUrl::fromLocalFile(m_data.filePath(QStringLiteral("local.png"))).toString();
        QVERIFY(solidImage(Qt::red).save(m_data.filePath(QStringLiteral("local.png"))));
        QVERIFY(m_server.listen());
        m_server.setReply(QStringLiteral("/one.png"), LoopbackHttpServer::Reply::typed("image/png", pngBytes(Qt::blue)));
        m_server.setReply(QStringLiteral("/two.png"), LoopbackHttpServer::Reply::typed("image/png", pngBytes(Qt::cyan)));
    }

    void playingPausingAndChangingTracks()
    {
        const int oneRequests = m_server.requestCount(QStringLiteral("/one.png"));
        const int twoRequests = m_server.requestCount(QStringLiteral("/two.png"));
        auto player = spotify();
        player->setPlaybackStatus(QStringLiteral("Playing"), false);
        QVERIFY(player->start());
        Rig rig(QDBusConnection(QStringLiteral("talvo")));
        NowPlayingManager &manager = *rig.manager;

        QTRY_VERIFY(manager.isPlaying());
        QCOMPARE(manager.songTitle(), QStringLiteral("One"));
        QCOMPARE(manager.artistName(), QStringLiteral("First Band"));
        QCOMPARE(manager.appName(), QStringLiteral("Spotify"));
        QTRY_COMPARE(colourOf(manager.albumArt()), QColor(Qt::blue));
        QCOMPARE(colourOf(manager.appIcon()), QColor(Qt::green));
        QCOMPARE(manager.duration(), 180000.0);

        player->setPlaybackStatus(QStringLiteral("Paused"));
        QTRY_VERIFY(!manager.isPlaying());
        QVERIFY(!manager.isProgressTimerRunning());

        manager.sendCommand(QStringLiteral("next track"));
        QTRY_COMPARE(manager.songTitle(), QStringLiteral("Two"));
        QCOMPARE(manager.artistName(), QStringLiteral("Second Band"));
        QTRY_COMPARE(colourOf(manager.albumArt()), QColor(Qt::cyan));
        manager.sendCommand(QStringLiteral("playpause"));
        QTRY_VERIFY(manager.isPlaying());
        QCOMPARE(player->playbackStatus(), QStringLiteral("Playing"));

        // Polls and notifications for the same track fetch no artwork again.
        const qsizetype asked = player->calls().count(QStringLiteral("Properties.GetAll"));
        manager.refresh();
        manager.refresh();
        QTRY_VERIFY(player->calls().count(QStringLiteral("Properties.GetAll")) >= asked + 2);
        QCOMPARE(m_server.requestCount(QStringLiteral("/one.png")) - oneRequests, 1);
        QCOMPARE(m_server.requestCount(QStringLiteral("/two.png")) - twoRequests, 1);
    }

    void quittingHandsOverToTheOtherPlayer()
    {
        auto first = spotify();
        auto second = otherPlayer();
        first->setPlaybackStatus(QStringLiteral("Playing"), false);
        second->setPlaybackStatus(QStringLiteral("Paused"), false);
        QVERIFY(first->start());
        QVERIFY(second->start());
        Rig rig(QDBusConnection(QStringLiteral("talvo")));
        NowPlayingManager &manager = *rig.manager;
        QTRY_VERIFY(manager.isPlaying());
        QCOMPARE(manager.appName(), QStringLiteral("Spotify"));

        first->quit();
        QTRY_VERIFY(!manager.isPlaying());
        manager.refresh();
        QTRY_COMPARE(manager.appName(), QStringLiteral("Fake Player"));
        QCOMPARE(manager.songTitle(), QStringLiteral("Local"));
        QVERIFY(!manager.isPlaying());
        QTRY_COMPARE(colourOf(manager.albumArt()), QColor(Qt::red));
        QCOMPARE(colourOf(manager.appIcon()), QColor(Qt::magenta));

        second->setPlaybackStatus(QStringLiteral("Playing"));
        QTRY_VERIFY(manager.isPlaying());
        QCOMPARE(manager.duration(), 90000.0);
        manager.sendCommand(QStringLiteral("next track"));
        QTRY_COMPARE(manager.songTitle(), QStringLiteral("Local Two"));
        QVERIFY(second->calls().contains(QStringLiteral("Player.Next")));
        // No artwork: the player's icon stands in.
        QTRY_COMPARE(colourOf(manager.albumArt()), QColor(Qt::magenta));
    }

    void aPlayerThatNeverRepliesStallsNothing()
    {
        auto hung = spotify();
        hung->setSilent(true);
        auto second = otherPlayer();
        second->setPlaybackStatus(QStringLiteral("Playing"), false);
        QVERIFY(hung->start());
        QVERIFY(second->start());

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

        Rig rig(QDBusConnection(QStringLiteral("talvo")));
        NowPlayingManager &manager = *rig.manager;
        QTRY_VERIFY(rig.players->isRunning(RunningApplications::kSpotify));
        QTest::ignoreMessage(QtInfoMsg, QRegularExpression(QStringLiteral("^\\[NowPlayingManager\\] query Spotify failed: .+")));
        manager.refresh();
        QTRY_COMPARE(manager.appName(), QStringLiteral("Fake Player"));
        QVERIFY(manager.isPlaying());
        QCOMPARE(manager.songTitle(), QStringLiteral("Local"));
        QVERIFY(hung->calls().contains(QStringLiteral("Properties.GetAll")));
        QVERIFY2(longestGap < kCallTimeoutMs / 2, qPrintable(QString::number(longestGap)));
    }
};

QTEST_MAIN(TestNowPlayingMpris)
#include "tst_nowplayingmpris.moc"
