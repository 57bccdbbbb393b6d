#include "E2eDesktop.h"
#include "PanelSteps.h"
#include "fakes/FakeMprisPlayer.h"
#include "fakes/LoopbackHttpServer.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace talvo;
using namespace talvo::e2e;
using Steps = talvo::e2e::PanelSteps;

namespace {

const QRectF kCollapsed(867.5, 0, 185, 24);
// The open panel on the 1920 × 1080 screen: the body spans the window's width
// and 24 + 142 in height; the cards' row starts 32 in, below the header.
const QRect kTabStrip(562, 6, 150, 26);
const QPoint kHomeTab(600, 19);
const QPoint kTrayTab(685, 19);
const QPoint kClearAll(1322, 50);
const QPoint kPlayPause(697, 125);
// Three frameless cards 250.5, 230 and 250.5 wide with dividers between.
const QList<QRect> kCards{QRect(562, 40, 250, 100), QRect(845, 40, 230, 100), QRect(1108, 40, 250, 100)};

} // namespace

// The open panel of the real program on a private desktop: its header and
// cards, the tray with a file dropped from another program, and the music card
// driving a player on the desktop's bus.
class TestPanelDesktop : public QObject
{
    Q_OBJECT

    std::unique_ptr<E2eDesktop> m_desktop;
    QProcess *m_talvo = nullptr;
    QString m_log;
    QTemporaryDir m_files;
    LoopbackHttpServer m_server;

    QVariant state(const char *name) const { return m_desktop->controlProperty(QString::fromLatin1(name)); }

    QImage shoot(const QString &name) { return PanelSteps::shoot(*m_desktop, name); }

    bool open() { return m_desktop->openPanel(Steps::kAway, Steps::kHotZone); }

    // `quickBackend`: the scene graph, as E2eDesktop::Options has it.
    void launch(const QString &quickBackend = QStringLiteral("software"))
    {
        m_desktop = std::make_unique<E2eDesktop>(E2eDesktop::Options{
            QSize(1920, 1080), true, QStringLiteral(TALVO_E2E_WINDOW), E2eDesktop::kBackground, quickBackend});
        QVERIFY2(m_desktop->start(), qPrintable(m_desktop->error()));
        m_desktop->movePointer(Steps::kAway);
        m_talvo = m_desktop->startProgram(QStringLiteral(TALVO_BINARY), {}, QProcess::MergedChannels);
        QTRY_COMPARE_WITH_TIMEOUT(m_desktop->notchRect(), kCollapsed, 15000);
        QTRY_COMPARE_WITH_TIMEOUT(state("panelPresent"), QVariant(false), 5000);
    }

private slots:
    void initTestCase()
    {
        E2E_REQUIRE_TOOLS("Xvfb", "dbus-daemon", "xcompmgr");
        // Album art in two colours, so that its blur shows.
        QImage cover(64, 64, QImage::Format_RGB32);
        cover.fill(QColor(0xe0, 0x60, 0x30));
        QPainter(&cover).fillRect(0, 0, 32, 64, QColor(0x30, 0xa0, 0xe0));
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        cover.save(&buffer, "PNG");
        QVERIFY(m_server.listen());
        m_server.setReply(QStringLiteral("/cover.png"), LoopbackHttpServer::Reply::typed("image/png", png));
    }
    // What Talvo logged so far that comes from its QML (warnings, errors).
    QStringList qmlMessages()
    {
        m_log += QString::fromUtf8(m_talvo->readAllStandardOutput());
        QStringList lines = m_log.split(u'\n');
        lines.removeIf([](const QString &line) { return !line.contains(QLatin1String("qml"), Qt::CaseInsensitive); });
        return lines;
    }

    void cleanup()
    {
        if (QTest::currentTestFailed() && m_talvo)
            qInfo().noquote() << m_log + QString::fromUtf8(m_talvo->readAllStandardOutput()) << m_talvo->state();
        m_log.clear();
        m_talvo = nullptr;
        m_desktop.reset();
    }

    void panelShowsHeaderCardsAndTray()
    {
        launch();
        if (QTest::currentTestFailed())
            return;
        QVERIFY(open());
        QCOMPARE(state("panelCards"), QVariant(QStringLiteral("music,weather,calendar")));
        const QImage home = shoot(QStringLiteral("panel-home"));
        // The header's tab strip and each card's content are drawn.
        QVERIFY2(Steps::brightPixels(home, kTabStrip, 150) > 20, "no tab strip");
        for (const QRect &card : kCards)
            QVERIFY2(Steps::brightPixels(home, card) > 30, qPrintable(QStringLiteral("empty card at %1").arg(card.x())));

        // The tray: the drop zone under its title.
        m_desktop->click(kTrayTab);
        QTRY_COMPARE_WITH_TIMEOUT(state("activeTab"), QVariant(QStringLiteral("tray")), 2000);
        QCOMPARE(state("panelTrayTitle"), QVariant(QStringLiteral("Tray Dropzone")));
        const QImage tray = shoot(QStringLiteral("panel-tray-empty"));
        QVERIFY2(Steps::brightPixels(tray, QRect(860, 80, 200, 60)) > 30, "no drop zone text");

        // A file dropped from another program shows as a tile.
        m_desktop->movePointer(Steps::kAway);
        QTRY_COMPARE_WITH_TIMEOUT(state("panelPresent"), QVariant(false), 3000);
        QFile file(m_files.filePath(QStringLiteral("report.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("contents");
        file.close();
        QVERIFY2(m_desktop->dragFromSource(QStringLiteral(TALVO_E2E_DRAGSOURCE),
                                           {QStringLiteral("--files"), file.fileName()}, QPoint(200, 600),
                                           QPoint(960, 12), [this] { return state("isDragTargetActive").toBool(); }),
                 qPrintable(m_desktop->error()));
        QTRY_COMPARE_WITH_TIMEOUT(state("itemCount"), QVariant(1), 3000);
        QTRY_COMPARE_WITH_TIMEOUT(state("isFileDragActive"), QVariant(false), 2000);
        QVERIFY(open());
        QTRY_COMPARE_WITH_TIMEOUT(state("panelTrayTitle"), QVariant(QStringLiteral("1 item")), 2000);
        QTest::qWait(500);
        m_desktop->click(kTrayTab);
        QTRY_COMPARE_WITH_TIMEOUT(state("activeTab"), QVariant(QStringLiteral("tray")), 2000);
        const QImage withItem = shoot(QStringLiteral("panel-tray-items"));
        QVERIFY2(Steps::brightPixels(withItem, QRect(562, 64, 90, 90)) > 30, "no tile");

        // "Clear All" empties the shelf; the drop zone comes back.
        m_desktop->click(kClearAll);
        QTRY_COMPARE_WITH_TIMEOUT(state("itemCount"), QVariant(0), 3000);
        QTRY_COMPARE_WITH_TIMEOUT(state("panelTrayTitle"), QVariant(QStringLiteral("Tray Dropzone")), 2000);
        QVERIFY2(Steps::brightPixels(shoot(QStringLiteral("panel-tray-cleared")), QRect(860, 80, 200, 60)) > 30,
                 "no drop zone after clearing");

        // Collapsing discards the panel.
        m_desktop->movePointer(Steps::kAway);
        QTRY_COMPARE_WITH_TIMEOUT(state("panelPresent"), QVariant(false), 3000);
        QTRY_COMPARE_WITH_TIMEOUT(m_desktop->notchRect(), kCollapsed, 3000);
        QCOMPARE(qmlMessages(), QStringList());
    }

    // With either scene graph (the artwork behind the card blurred and faded
    // alike), and no complaint from QML.
    void musicCardDrivesThePlayer_data()
    {
        QTest::addColumn<QString>("quickBackend");
        QTest::newRow("opengl") << QString();
        QTest::newRow("software") << QStringLiteral("software");
    }
    void musicCardDrivesThePlayer()
    {
        QFETCH(QString, quickBackend);
        const QString suffix = QStringLiteral("-") + QString::fromLatin1(QTest::currentDataTag());
        launch(quickBackend);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(open());
        shoot(QStringLiteral("panel-music-empty") + suffix);
        m_desktop->movePointer(Steps::kAway);
        QTRY_COMPARE_WITH_TIMEOUT(state("panelPresent"), QVariant(false), 3000);

        const int covers = m_server.requestCount(QStringLiteral("/cover.png"));
        FakeMprisPlayer spotify(m_desktop->busAddress(), QStringLiteral("org.mpris.MediaPlayer2.spotify"),
                                QStringLiteral("Spotify"), QStringLiteral("spotify"));
        spotify.setTracks({{QStringLiteral("Open Road"), {QStringLiteral("The Band")}, qlonglong(200000000),
                            m_server.url(QStringLiteral("/cover.png")).toString()}});
        spotify.setPlaybackStatus(QStringLiteral("Playing"), false);
        QVERIFY(spotify.start());
        QTRY_VERIFY_WITH_TIMEOUT(m_desktop->notchRect() != kCollapsed, 15000);

        QVERIFY(open());
        QTRY_COMPARE_WITH_TIMEOUT(state("panelMusicTitle"), QVariant(QStringLiteral("Open Road")), 3000);
        QTRY_COMPARE_WITH_TIMEOUT(m_server.requestCount(QStringLiteral("/cover.png")), covers + 1, 5000);
        const QImage playing = shoot(QStringLiteral("panel-music-playing") + suffix);
        QVERIFY2(Steps::brightPixels(playing, kCards[0]) > 60, "empty music card");

        // A click while the card still settles under a busy software GL may
        // miss the button; a second one goes in after a pause.
        const auto playPauseCalled = [&spotify] { return spotify.calls().contains(QStringLiteral("Player.PlayPause")); };
        QVERIFY2(QTest::qWaitFor(
                     [&] {
                         m_desktop->click(kPlayPause);
                         return QTest::qWaitFor(playPauseCalled, 2500);
                     },
                     7500),
                 qPrintable(spotify.calls().join(u' ')));

        // Framed cards, switched on while the panel is open.
        QProcess *prefs = m_desktop->startProgram(
            QStringLiteral(TALVO_BINARY),
            {QStringLiteral("prefs"), QStringLiteral("set"), QStringLiteral("--bool"),
             QStringLiteral("enableFramelessWidgets"), QStringLiteral("false")});
        QVERIFY(prefs->waitForFinished(10000));
        QTest::qWait(500);
        const QImage framed = shoot(QStringLiteral("panel-home-framed") + suffix);
        // A framed card's border shows where the frameless one had nothing.
        QVERIFY2(Steps::brightPixels(framed, QRect(kCards[1].left() + 30, kCards[1].top() - 1, 100, 3), 20) > 20,
                 "no card frame");
        QCOMPARE(qmlMessages(), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestPanelDesktop)
#include "tst_paneldesktop.moc"
