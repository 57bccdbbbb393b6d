#include "E2eDesktop.h"
#include "NotchBodyMeasure.h"

#include <QTest>

using namespace talvo::e2e;
using talvo::test::NotchBodyMeasure;

namespace {

// The notch window on the 1920 × 1080 test screen (no camera housing); the
// floating one hangs 12 points lower.
const QRect kWindowFrame(530, 0, 860, 250);
const QRect kFloatingFrame = kWindowFrame.translated(0, 12);
const QPoint kHotZone(960, 5);
const QPoint kAway(960, 700);
// On the notch's file-drag outline.
const QPoint kDropPoint(960, 40);
// The drawn body's top radius: the body is inset by it below the ears.
constexpr int kTopRadius = 12;
// The collapsed body's shadow: its blur radius, how far it falls, how dark it is.
constexpr int kShadowRadius = 8;
constexpr int kShadowOffsetY = 3;
constexpr qreal kShadowOpacity = 0.22;
// A light desktop, on which a stray shadow shows.
constexpr QRgb kLightDesktop = 0xffe8eef8;

} // namespace

// The real program on a composited private desktop: each state's body, as it
// appears on screen, has the size the notch's rules give it. With
// TALVO_SCREENSHOT_DIR set, the screenshots are kept there.
class TestNotchBody : public QObject
{
    Q_OBJECT

    std::unique_ptr<E2eDesktop> m_desktop;

    // `preference`: a key and value set before the program starts.
    // `desktop`, `quickBackend`: as E2eDesktop::Options has them.
    void launch(bool compositor = true, const QStringList &preference = {}, QRgb desktop = E2eDesktop::kBackground,
                const QString &quickBackend = QStringLiteral("software"))
    {
        m_desktop = std::make_unique<E2eDesktop>(E2eDesktop::Options{
            QSize(1920, 1080), compositor, QStringLiteral(TALVO_E2E_WINDOW), desktop, quickBackend});
        QVERIFY2(m_desktop->start(), qPrintable(m_desktop->error()));
        if (!preference.isEmpty())
            QVERIFY(m_desktop->run(QStringLiteral(TALVO_BINARY), QStringList{QStringLiteral("prefs"),
                                                                           QStringLiteral("set")} + preference));
        m_desktop->movePointer(kAway);
        m_desktop->startProgram(QStringLiteral(TALVO_BINARY), {});
        QTRY_VERIFY_WITH_TIMEOUT(!m_desktop->notchRect().isEmpty(), 15000);
        QTRY_COMPARE_WITH_TIMEOUT(m_desktop->controlProperty(QStringLiteral("ignoresMouseEvents")), QVariant(true),
                                  5000);
    }
    QVariant state(const char *name) const { return m_desktop->controlProperty(QString::fromLatin1(name)); }

    // Lets the springs come to rest, then measures (and keeps) the screenshot
    // of `frame`: what differs from a body `width` × `height` with ears of
    // `topRadius`.
    QString shoot(const QString &name, int width, int height, const QRect &frame = kWindowFrame,
                  int topRadius = kTopRadius)
    {
        QTest::qWait(900);
        return NotchBodyMeasure(QColor::fromRgb(E2eDesktop::kBackground))
            .check(m_desktop->grab(frame), name, width, height, topRadius, frame.width() / 2);
    }

private slots:
    void initTestCase()
    {
        E2E_REQUIRE_TOOLS("Xvfb", "dbus-daemon", "xcompmgr");
    }
    void cleanup() { m_desktop.reset(); }

    void bareHoverAndOpen()
    {
        launch();
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(shoot(QStringLiteral("notch-bare"), 185, 24), QString());

        m_desktop->glidePointer(kAway, kHotZone, 10, 10);
        QTRY_COMPARE_WITH_TIMEOUT(state("isHovering"), QVariant(true), 2000);
        QCOMPARE(shoot(QStringLiteral("notch-hover-peek"), 235, 32), QString());

        m_desktop->click(kHotZone);
        QTRY_COMPARE_WITH_TIMEOUT(state("isFullyExpanded"), QVariant(true), 2000);
        // Three widgets by default: the widest panel.
        QCOMPARE(shoot(QStringLiteral("notch-expanded"), 860, 166), QString());

        m_desktop->movePointer(kAway);
        QTRY_COMPARE_WITH_TIMEOUT(state("isHovering"), QVariant(false), 2000);
        QCOMPARE(shoot(QStringLiteral("notch-collapsed-again"), 185, 24), QString());
    }

    // The shadow follows the outline: on a light desktop nothing outside the
    // body is darker than the shadow, nor darkened at all beyond its reach,
    // at rest or hovered, with either scene graph.
    void shadowStaysWithTheOutline_data()
    {
        QTest::addColumn<QString>("quickBackend");
        QTest::newRow("opengl") << QString();
        QTest::newRow("software") << QStringLiteral("software");
    }
    void shadowStaysWithTheOutline()
    {
        QFETCH(QString, quickBackend);
        launch(true, {}, kLightDesktop, quickBackend);
        if (QTest::currentTestFailed())
            return;
        // A body `width` × `height` with bottom corners of `bottomRadius`.
        const auto strays = [this](const QString &name, int width, int height, int bottomRadius) {
            QTest::qWait(900);
            const QImage shot = m_desktop->grab(kWindowFrame);
            NotchBodyMeasure::keep(shot, name + QLatin1Char('-') + QLatin1String(QTest::currentDataTag()));
            return NotchBodyMeasure(QColor::fromRgb(kLightDesktop))
                .strayShadow(shot,
                             NotchBodyMeasure::attachedOutline(kWindowFrame.width(), width, height, kTopRadius,
                                                               bottomRadius),
                             kShadowRadius, kShadowOffsetY, kShadowOpacity);
        };
        const QString bare = strays(QStringLiteral("notch-shadow-bare"), 185, 24, 12);
        m_desktop->glidePointer(kAway, kHotZone, 10, 10);
        QTRY_COMPARE_WITH_TIMEOUT(state("isHovering"), QVariant(true), 2000);
        const QString hovered = strays(QStringLiteral("notch-shadow-hover"), 235, 32, 18);
        QCOMPARE(bare, QString());
        QCOMPARE(hovered, QString());
    }

    // Without a compositing manager the window is drawn only where the body
    // is: the floating pill keeps its full width, though it takes the pointer
    // on a narrower outline. (Its corners show black there, hence no ears.)
    void floatingPillWithoutCompositor()
    {
        launch(false, {QStringLiteral("shelfStyle"), QStringLiteral("floating")});
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(shoot(QStringLiteral("notch-floating-bare"), 185, 32, kFloatingFrame, 0), QString());

        m_desktop->glidePointer(kAway, kHotZone, 10, 10);
        QTRY_COMPARE_WITH_TIMEOUT(state("isHovering"), QVariant(true), 2000);
        QCOMPARE(shoot(QStringLiteral("notch-floating-bare-peek"), 235, 40, kFloatingFrame, 0), QString());
    }

    void fileDragHint()
    {
        launch();
        if (QTest::currentTestFailed())
            return;
        QProcess *source = m_desktop->startProgram(
            QStringLiteral(TALVO_E2E_DRAGSOURCE), {QStringLiteral("100"), QStringLiteral("500"), QStringLiteral("200"),
                                                  QStringLiteral("200"), QStringLiteral("--files"),
                                                  QStringLiteral(TALVO_E2E_WINDOW)});
        QVERIFY(E2eDesktop::waitForLine(source, QStringLiteral("ready")));
        m_desktop->movePointer(QPoint(200, 600));
        m_desktop->pressButton(1);
        QVERIFY(E2eDesktop::waitForLine(source, QStringLiteral("drag started")));
        m_desktop->glidePointer(QPoint(200, 600), QPoint(700, 400), 10, 30);
        QTRY_COMPARE_WITH_TIMEOUT(state("isFileDragActive"), QVariant(true), 2000);
        const QString hintFault = shoot(QStringLiteral("notch-file-drag-hint"), 320, 101);

        // Over the notch the drop target takes the hint's place at the same size.
        m_desktop->glidePointer(QPoint(700, 400), kDropPoint, 10, 30);
        // The source finds the reshaped window only on later moves.
        const bool overTarget = QTest::qWaitFor(
            [this] {
                m_desktop->glidePointer(kDropPoint, kDropPoint + QPoint(2, 1), 2, 20);
                m_desktop->glidePointer(kDropPoint + QPoint(2, 1), kDropPoint, 2, 20);
                return state("isDragTargetActive").toBool();
            },
            3000);
        const QString targetFault = overTarget ? shoot(QStringLiteral("notch-drop-target"), 320, 101) : QString();
        // Let go away from the notch, so nothing is shelved.
        m_desktop->glidePointer(kDropPoint, QPoint(700, 400), 10, 30);
        m_desktop->releaseButton(1);
        QVERIFY(E2eDesktop::waitForLine(source, QStringLiteral("drag ended")));
        QCOMPARE(hintFault, QString());
        QVERIFY(overTarget);
        QCOMPARE(targetFault, QString());
    }

    void greeting()
    {
        launch();
        if (QTest::currentTestFailed())
            return;
        QVERIFY(m_desktop->callControl(QStringLiteral("ShowGreeting")));
        QTRY_COMPARE_WITH_TIMEOUT(state("isOnboardingGreetingActive"), QVariant(true), 2000);
        QCOMPARE(shoot(QStringLiteral("notch-greeting"), 320, 89), QString());
        // It lets go of the notch by itself after 4.2 s.
        QTRY_COMPARE_WITH_TIMEOUT(state("isOnboardingGreetingActive"), QVariant(false), 6000);
        QCOMPARE(state("isFullyExpanded"), QVariant(false));
    }
};

QTEST_GUILESS_MAIN(TestNotchBody)
#include "tst_notchbody.moc"
