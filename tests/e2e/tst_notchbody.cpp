#include "E2eDesktop.h"
#include "NotchBodyMeasure.h"

#include <QDir>
#include <QStandardPaths>
#include <QTest>

using namespace talvo::e2e;
using talvo::test::NotchBodyMeasure;

namespace {

// The notch window on the 1920 × 1080 test screen (no camera housing).
const QRect kWindowFrame(530, 0, 860, 250);
const QPoint kHotZone(960, 5);
const QPoint kAway(960, 700);
// The drawn body's top radius: the body is inset by it below the ears.
constexpr int kTopRadius = 12;

} // namespace

// The real program on a composited private desktop: each state's body, as it
// appears on screen, has the size the notch's rules give it. With
// TALVO_SCREENSHOT_DIR set, the screenshots are kept there.
class TestNotchBody : public QObject
{
    Q_OBJECT

    std::unique_ptr<E2eDesktop> m_desktop;

    void launch()
    {
        m_desktop = std::make_unique<E2eDesktop>(
            E2eDesktop::Options{QSize(1920, 1080), true, QStringLiteral(TALVO_E2E_WINDOW)});
        QVERIFY2(m_desktop->start(), qPrintable(m_desktop->error()));
        m_desktop->movePointer(kAway);
        m_desktop->startProgram(QStringLiteral(TALVO_BINARY), {});
        QTRY_VERIFY_WITH_TIMEOUT(!m_desktop->notchRect().isEmpty(), 15000);
        QTRY_COMPARE_WITH_TIMEOUT(m_desktop->controlProperty(QStringLiteral("ignoresMouseEvents")), QVariant(true),
                                  5000);
    }
    QVariant state(const char *name) const { return m_desktop->controlProperty(QString::fromLatin1(name)); }

    // Lets the springs come to rest, then measures (and keeps) the screenshot.
    NotchBodyMeasure::Result shoot(const QString &name)
    {
        QTest::qWait(900);
        const QImage shot = m_desktop->grab(kWindowFrame);
        if (const QString dir = qEnvironmentVariable("TALVO_SCREENSHOT_DIR"); !dir.isEmpty())
            shot.save(QDir(dir).filePath(name + QStringLiteral(".png")));
        return NotchBodyMeasure(QColor::fromRgb(E2eDesktop::kBackground)).measure(shot);
    }

    static QString check(const NotchBodyMeasure::Result &m, int width, int height)
    {
        return NotchBodyMeasure::faults(m, width, height, kTopRadius, kWindowFrame.width() / 2);
    }

private slots:
    void initTestCase()
    {
        for (const char *tool : {"Xvfb", "dbus-daemon", "xcompmgr"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(QLatin1String(tool))));
        }
    }
    void cleanup() { m_desktop.reset(); }

    void bareHoverAndOpen()
    {
        launch();
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(check(shoot(QStringLiteral("notch-bare")), 185, 24), QString());

        m_desktop->glidePointer(kAway, kHotZone, 10, 10);
        QTRY_COMPARE_WITH_TIMEOUT(state("isHovering"), QVariant(true), 2000);
        QCOMPARE(check(shoot(QStringLiteral("notch-hover-peek")), 235, 32), QString());

        m_desktop->click(kHotZone);
        QTRY_COMPARE_WITH_TIMEOUT(state("isFullyExpanded"), QVariant(true), 2000);
        // Three widgets by default: the widest panel.
        QCOMPARE(check(shoot(QStringLiteral("notch-expanded")), 860, 166), QString());

        m_desktop->movePointer(kAway);
        QTRY_COMPARE_WITH_TIMEOUT(state("isHovering"), QVariant(false), 2000);
        QCOMPARE(check(shoot(QStringLiteral("notch-collapsed-again")), 185, 24), QString());
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
        const QString fault = check(shoot(QStringLiteral("notch-file-drag-hint")), 320, 101);
        m_desktop->releaseButton(1);
        QVERIFY(E2eDesktop::waitForLine(source, QStringLiteral("drag ended")));
        QCOMPARE(fault, QString());
    }
};

QTEST_GUILESS_MAIN(TestNotchBody)
#include "tst_notchbody.moc"
