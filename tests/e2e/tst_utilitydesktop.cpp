#include "E2eDesktop.h"
#include "PanelSteps.h"
#include "platform/linux/InodeFolderBookmarks.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace talvo;
using namespace talvo::e2e;

namespace {

// Three frameless cards of 243.7 on the wide panel, content inset 16 and 10.
const QList<int> kCardX{562, 839, 1115};
constexpr int kContentTop = 50;
// The first and second list rows, by their centre's height.
constexpr int kRow1 = 82;
constexpr int kRow2 = 110;

QPoint inCard(int card, int x, int y)
{
    return QPoint(kCardX[card] + 16 + x, y);
}

// Titles in white at 0.85 and more, not the empty states' faint texts.
constexpr int kTitleBrightness = 180;

QRect rowRect(int card, int rowCentre)
{
    return QRect(kCardX[card] + 16, rowCentre - 10, 200, 20);
}

} // namespace

// The utility cards in the real program on a private desktop: the clipboard
// history against another program's clipboard, the Downloads list dragged
// into another program, the colour sampler over a window of known colour, and
// the scratchpad kept through closing, SIGTERM and a restart.
class TestUtilityDesktop : public QObject
{
    Q_OBJECT

    std::unique_ptr<E2eDesktop> m_desktop;
    QProcess *m_talvo = nullptr;

    QVariant state(const char *name) const { return m_desktop->controlProperty(QString::fromLatin1(name)); }

    QString configPath() const
    {
        return m_desktop->environment().value(QStringLiteral("XDG_CONFIG_HOME"))
               + QStringLiteral("/talvo/preferences.json");
    }
    QJsonObject storedPreferences() const
    {
        QFile file(configPath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(file.readAll()).object();
    }
    void writePreferences(const QJsonObject &values)
    {
        QDir().mkpath(QFileInfo(configPath()).path());
        QFile file(configPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QJsonDocument(values).toJson());
    }
    QString clipboardText()
    {
        QProcess *reader = m_desktop->startProgram(QStringLiteral(TALVO_E2E_CLIPBOARD), {QStringLiteral("read")});
        if (!reader->waitForFinished(10000))
            return QStringLiteral("<no answer>");
        return QString::fromUtf8(reader->readAllStandardOutput()).trimmed();
    }

    QImage shoot(const QString &name)
    {
        return PanelSteps::shoot(*m_desktop, name);
    }
    // Open, with the springs at rest so that clicks land where the cards are.
    bool open()
    {
        const bool opened = PanelSteps::open(*m_desktop);
        QTest::qWait(700);
        return opened;
    }
    void close()
    {
        m_desktop->movePointer(PanelSteps::kAway);
        QTRY_COMPARE_WITH_TIMEOUT(state("panelPresent"), QVariant(false), 3000);
    }

    void startDesktop()
    {
        m_desktop = std::make_unique<E2eDesktop>(
            E2eDesktop::Options{QSize(1920, 1080), true, QStringLiteral(TALVO_E2E_WINDOW)});
        QVERIFY2(m_desktop->start(), qPrintable(m_desktop->error()));
        m_desktop->movePointer(PanelSteps::kAway);
    }
    void launch(const QString &widgets, QJsonObject prefs = {})
    {
        if (!m_desktop)
            startDesktop();
        if (QTest::currentTestFailed())
            return;
        if (!widgets.isEmpty()) {
            prefs.insert(QStringLiteral("activeWidgetsOrder"), widgets);
            prefs.insert(QStringLiteral("hasCompletedOnboarding"), true);
            writePreferences(prefs);
        }
        m_talvo = m_desktop->startProgram(QStringLiteral(TALVO_BINARY), {});
        QTRY_VERIFY_WITH_TIMEOUT(!m_desktop->notchRect().isEmpty(), 15000);
        QTRY_COMPARE_WITH_TIMEOUT(state("panelPresent"), QVariant(false), 5000);
    }

    void type(const QString &text)
    {
        for (const QChar c : text) {
            m_desktop->pressKey(c.unicode());
            m_desktop->releaseKey(c.unicode());
            QTest::qWait(20);
        }
    }

private slots:
    void initTestCase()
    {
        E2E_REQUIRE_TOOLS("Xvfb", "dbus-daemon", "xcompmgr");
    }
    void cleanup()
    {
        if (QTest::currentTestFailed() && m_talvo) {
            qInfo().noquote() << m_talvo->readAllStandardOutput();
            qInfo().noquote() << m_talvo->state() << m_talvo->readAllStandardError().right(3000);
        }
        m_talvo = nullptr;
        m_desktop.reset();
    }

    void clipboardAndDownloadsCards()
    {
        startDesktop();
        if (QTest::currentTestFailed())
            return;
        const QString downloads = m_desktop->environment().value(QStringLiteral("HOME")) + QStringLiteral("/Downloads");
        QVERIFY(QDir().mkpath(downloads));
        const BookmarkCreation bookmark = InodeFolderBookmarks().createBookmark(downloads);
        QVERIFY2(bookmark.data, qPrintable(bookmark.error));
        launch(QStringLiteral("clipboard,recentFiles,colorPicker"),
               {{QStringLiteral("DownloadsFolderBookmark"),
                 QJsonObject{{QStringLiteral("$data"), QString::fromLatin1(bookmark.data->toBase64())}}}});
        if (QTest::currentTestFailed())
            return;
        QVERIFY(open());
        shoot(QStringLiteral("cards-utility-empty"));

        // Two texts copied by another program while the card shows.
        QProcess *first = m_desktop->startProgram(QStringLiteral(TALVO_E2E_CLIPBOARD),
                                                  {QStringLiteral("text"), QStringLiteral("hello from elsewhere")});
        QVERIFY2(E2eDesktop::waitForLine(first, QStringLiteral("ready")), qPrintable(first->errorString()));
        QTest::qWait(800);
        QProcess *second = m_desktop->startProgram(QStringLiteral(TALVO_E2E_CLIPBOARD),
                                                   {QStringLiteral("text"), QStringLiteral("https://example.org/x")});
        QVERIFY(E2eDesktop::waitForLine(second, QStringLiteral("ready")));
        QFile file(downloads + QStringLiteral("/report.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(2048, 'x'));
        file.close();
        QTRY_VERIFY_WITH_TIMEOUT(PanelSteps::brightPixels(m_desktop->grab(QRect(0, 0, 1920, 200)), rowRect(0, kRow2), kTitleBrightness) > 20, 3000);
        QTRY_VERIFY_WITH_TIMEOUT(PanelSteps::brightPixels(m_desktop->grab(QRect(0, 0, 1920, 200)), rowRect(1, kRow1), kTitleBrightness) > 20, 5000);
        shoot(QStringLiteral("cards-utility-content"));

        // A click on the older entry puts it back on the clipboard.
        m_desktop->click(inCard(0, 60, kRow2));
        QVERIFY(second->waitForFinished(5000)); // it leaves once it lost the clipboard
        QCOMPARE(clipboardText(), QStringLiteral("hello from elsewhere"));

        // Scrolling over the list scrolls it; the tabs stay.
        for (int i = 0; i < 4; ++i) {
            m_desktop->click(inCard(0, 60, kRow1), 5);
            QTest::qWait(60);
        }
        QTest::qWait(300);
        QCOMPARE(state("activeTab"), QVariant(QStringLiteral("home")));
        // ...while over the header it switches them.
        for (int i = 0; i < 4; ++i) {
            m_desktop->click(QPoint(960, 19), 5);
            QTest::qWait(60);
        }
        QTRY_COMPARE_WITH_TIMEOUT(state("activeTab"), QVariant(QStringLiteral("tray")), 2000);
        m_desktop->click(QPoint(600, 19));
        QTRY_COMPARE_WITH_TIMEOUT(state("activeTab"), QVariant(QStringLiteral("home")), 2000);
        QTest::qWait(400);

        // The Downloads row dragged into another program delivers the file.
        QTemporaryDir folder;
        const QRect target(200, 500, 300, 300);
        QProcess *drop = m_desktop->startProgram(
            QStringLiteral(TALVO_E2E_DROPTARGET),
            {QString::number(target.x()), QString::number(target.y()), QString::number(target.width()),
             QString::number(target.height()), folder.path()});
        QVERIFY(E2eDesktop::waitForLine(drop, QStringLiteral("ready")));
        const QPoint row = inCard(1, 60, kRow1);
        m_desktop->movePointer(row);
        m_desktop->pressButton(1);
        m_desktop->glidePointer(row, row + QPoint(0, 12), 3, 30);
        m_desktop->glidePointer(row + QPoint(0, 12), target.center(), 12, 30);
        QTest::qWait(300);
        m_desktop->releaseButton(1);
        QVERIFY(E2eDesktop::waitForLine(drop, QStringLiteral("copied report.txt")));
        QVERIFY(QFile::exists(downloads + QStringLiteral("/report.txt")));
    }

    void ownSamplerPicksTheColourUnderTheClick()
    {
        launch(QStringLiteral("clipboard,recentFiles,colorPicker"));
        if (QTest::currentTestFailed())
            return;
        QVERIFY(open());
        m_desktop->click(inCard(2, 30, 81));
        QTRY_COMPARE_WITH_TIMEOUT(state("isForcedOpen"), QVariant(true), 3000);
        QTRY_VERIFY_WITH_TIMEOUT(m_desktop->findWindow("Talvo colour sampler") != XCB_NONE, 3000);
        QTest::qWait(300);
        m_desktop->glidePointer(inCard(2, 30, 81), QPoint(300, 700), 8, 30);
        QTest::qWait(300);
        // The magnified view beside the pointer, over the still picture.
        const QImage lens = m_desktop->shoot(QRect(280, 680, 180, 180), QStringLiteral("sampler-lens"));
        QVERIFY2(PanelSteps::brightPixels(lens, QRect(60, 60, 40, 40), 200) > 0, "no lens");
        m_desktop->click(QPoint(300, 700));
        const QString hex = QColor::fromRgb(E2eDesktop::kBackground).name().toUpper();
        QTRY_COMPARE_WITH_TIMEOUT(storedPreferences().value(QStringLiteral("RecentPickedColors")).toVariant(),
                                  QVariant(QVariantList{hex}), 3000);
        QCOMPARE(clipboardText(), hex);
        QTRY_COMPARE_WITH_TIMEOUT(state("isForcedOpen"), QVariant(false), 2000);
        QVERIFY(open());
        shoot(QStringLiteral("cards-colorpicker-picked"));
    }

    void scratchpadKeepsItsNote()
    {
        launch(QStringLiteral("scratchpad,clipboard,colorPicker"));
        if (QTest::currentTestFailed())
            return;
        QVERIFY(open());
        shoot(QStringLiteral("cards-scratchpad-empty"));
        m_desktop->click(inCard(0, 100, 100));
        QTest::qWait(300);
        type(QStringLiteral("call anna"));
        close();
        QCOMPARE(storedPreferences().value(QStringLiteral("scratchpadText")).toString(), QStringLiteral("call anna"));

        // Typed just before SIGTERM: still stored.
        QVERIFY(open());
        m_desktop->click(inCard(0, 100, 100));
        QTest::qWait(300);
        type(QStringLiteral(" 42"));
        // Well inside the write delay: only the flush at SIGTERM stores it.
        QTest::qWait(50);
        m_talvo->terminate();
        QVERIFY(m_talvo->waitForFinished(10000));
        QCOMPARE(storedPreferences().value(QStringLiteral("scratchpadText")).toString(),
                 QStringLiteral("call anna 42"));

        // ... and shown after a restart.
        launch({});
        if (QTest::currentTestFailed())
            return;
        QVERIFY(open());
        const QImage shot = shoot(QStringLiteral("cards-scratchpad-note"));
        QVERIFY2(PanelSteps::brightPixels(shot, QRect(kCardX[0] + 16, 70, 200, 30), kTitleBrightness) > 20, "no note");
    }
};

QTEST_MAIN(TestUtilityDesktop)
#include "tst_utilitydesktop.moc"
