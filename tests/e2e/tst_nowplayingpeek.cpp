#include "E2eDesktop.h"
#include "NotchBodyMeasure.h"
#include "fakes/FakeMprisPlayer.h"
#include "fakes/LoopbackHttpServer.h"
#include "fakes/TestImages.h"

#include <QDir>
#include <QTest>

using namespace talvo;
using namespace talvo::e2e;
using talvo::test::NotchBodyMeasure;

namespace {

// The notch's outline on the 1920 × 1080 test screen (no camera housing:
// 185 × 24 bare), as the window controller publishes it.
const QRectF kCollapsed(867.5, 0, 185, 24);
const QRectF kMusic(797.5, 0, 325, 30);      // playing: 140 wider, 6 higher
const QRectF kHoverMusic(782.5, 0, 355, 34); // and under the pointer: 170 wider, 10 higher
const QPoint kHotZone(960, 5);
const QPoint kAway(960, 700);
const QRect kWindowFrame(530, 0, 860, 250);
constexpr int kTopRadius = 12;
const QColor kCover(250, 200, 40);

} // namespace

// The real program on a private desktop with a player the test serves on the
// desktop's session bus: the notch widens into the now-playing peek while the
// player plays.
class TestNowPlayingPeek : public QObject
{
    Q_OBJECT

    std::unique_ptr<E2eDesktop> m_desktop;
    LoopbackHttpServer m_server;

    QRectF notchRect() const { return m_desktop->notchRect(); }

    // The notch window's area once the springs have come to rest; kept in
    // TALVO_SCREENSHOT_DIR when that is set.
    QImage shoot(const QString &name)
    {
        QTest::qWait(900);
        const QImage shot = m_desktop->grab(kWindowFrame);
        if (const QString dir = qEnvironmentVariable("TALVO_SCREENSHOT_DIR"); !dir.isEmpty())
            shot.save(QDir(dir).filePath(name + QStringLiteral(".png")));
        return shot;
    }
    static QString checkBody(const QImage &shot, int width, int height)
    {
        const auto measured = NotchBodyMeasure(QColor::fromRgb(E2eDesktop::kBackground)).measure(shot);
        return NotchBodyMeasure::faults(measured, width, height, kTopRadius, kWindowFrame.width() / 2);
    }

private slots:
    void initTestCase()
    {
        E2E_REQUIRE_TOOLS("Xvfb", "dbus-daemon", "xcompmgr");
        QVERIFY(m_server.listen());
        m_server.setReply(QStringLiteral("/cover.png"),
                          LoopbackHttpServer::Reply::typed("image/png", pngBytes(kCover, {64, 64})));
    }
    void cleanup() { m_desktop.reset(); }

    void peekFollowsThePlayer()
    {
        m_desktop = std::make_unique<E2eDesktop>(
            E2eDesktop::Options{QSize(1920, 1080), true, QStringLiteral(TALVO_E2E_WINDOW)});
        QVERIFY2(m_desktop->start(), qPrintable(m_desktop->error()));
        m_desktop->movePointer(kAway);
        FakeMprisPlayer spotify(m_desktop->busAddress(), QStringLiteral("org.mpris.MediaPlayer2.spotify"),
                                QStringLiteral("Spotify"), QStringLiteral("spotify"));
        spotify.setTracks({{QStringLiteral("Peek"), {QStringLiteral("The Band")}, qlonglong(200000000),
                            m_server.url(QStringLiteral("/cover.png")).toString()}});
        spotify.setPlaybackStatus(QStringLiteral("Playing"), false);
        QVERIFY(spotify.start());

        m_desktop->startProgram(QStringLiteral(TALVO_BINARY), {});
        QTRY_COMPARE_WITH_TIMEOUT(notchRect(), kMusic, 15000);
        QTRY_COMPARE_WITH_TIMEOUT(m_server.requestCount(QStringLiteral("/cover.png")), 1, 5000);

        // The drawn body: 185 + 140 by 24 + 6, the cover at the leading end
        // (16 in from the body's edge, in the middle of the 24-high band), the
        // equaliser in Spotify's green at the trailing end.
        const QImage peek = shoot(QStringLiteral("notch-now-playing-peek"));
        QCOMPARE(checkBody(peek, 325, 30), QString());
        const int bodyLeft = (kWindowFrame.width() - 325) / 2;
        QTRY_COMPARE_WITH_TIMEOUT(shoot(QStringLiteral("notch-now-playing-peek")).pixelColor(bodyLeft + 16 + 11, 14),
                                  kCover, 3000);
        const QImage bars = shoot(QStringLiteral("notch-now-playing-peek")).copy(bodyLeft + 325 - 16 - 20, 3, 20, 22);
        bool green = false;
        for (int y = 0; y < bars.height(); ++y) {
            for (int x = 0; x < bars.width(); ++x) {
                const QColor c = bars.pixelColor(x, y);
                green = green || (c.green() > 90 && c.green() > c.red() + 40 && c.green() > c.blue());
            }
        }
        QVERIFY(green);

        spotify.setPlaybackStatus(QStringLiteral("Paused"));
        QTRY_COMPARE_WITH_TIMEOUT(notchRect(), kCollapsed, 5000);
        spotify.setPlaybackStatus(QStringLiteral("Playing"));
        QTRY_COMPARE_WITH_TIMEOUT(notchRect(), kMusic, 5000);

        m_desktop->glidePointer(kAway, kHotZone, 10, 10);
        QTRY_COMPARE_WITH_TIMEOUT(notchRect(), kHoverMusic, 5000);
        m_desktop->movePointer(kAway);
        QTRY_COMPARE_WITH_TIMEOUT(notchRect(), kMusic, 5000);

        spotify.quit();
        QTRY_COMPARE_WITH_TIMEOUT(notchRect(), kCollapsed, 5000);
    }
};

QTEST_GUILESS_MAIN(TestNowPlayingPeek)
#include "tst_nowplayingpeek.moc"
