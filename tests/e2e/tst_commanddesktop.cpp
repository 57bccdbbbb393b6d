#include "E2eDesktop.h"

#include <xcb/shape.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace talvo::e2e;
using namespace Qt::Literals::StringLiterals;

namespace {

struct Outcome
{
    int exitCode = -1;
    QString out;
    QString err;
};

} // namespace

// The command line and the bus commands against the real program, as a user's
// shell and key bindings drive it; and the program's start where no X display
// or only a Wayland one is around.
class TestCommandDesktop : public QObject
{
    Q_OBJECT

    std::unique_ptr<E2eDesktop> m_desktop;
    QTemporaryDir m_files;

    Outcome talvo(const QStringList &arguments, const QByteArray &input = {},
                  const QProcessEnvironment &environment = {})
    {
        QProcess process;
        process.setProcessEnvironment(environment.isEmpty() ? m_desktop->environment() : environment);
        process.setWorkingDirectory(m_files.path());
        process.start(QStringLiteral(TALVO_BINARY), arguments);
        process.write(input);
        process.closeWriteChannel();
        if (!process.waitForFinished(15000))
            process.kill();
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
    }
    QVariant state(const char *name) const { return m_desktop->controlProperty(QString::fromLatin1(name)); }

private slots:
    void initTestCase()
    {
        E2E_REQUIRE_TOOLS("Xvfb", "dbus-daemon");
        for (const char *name : {"one.txt", "two.txt"}) {
            QFile file(m_files.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(name);
        }
    }

    void init()
    {
        m_desktop = std::make_unique<E2eDesktop>(E2eDesktop::Options{});
        QVERIFY2(m_desktop->start(), qPrintable(m_desktop->error()));
    }
    void cleanup() { m_desktop.reset(); }

    void verbsWithoutARunningInstance_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("status") << QStringList{u"status"_s} << 1 << u"Talvo is not running"_s;
        QTest::newRow("open") << QStringList{u"open"_s, u"tray"_s} << 1 << u"Talvo is not running"_s;
        QTest::newRow("unknown verb") << QStringList{u"frobnicate"_s} << 2 << u"unknown command"_s;
        QTest::newRow("two tabs") << QStringList{u"open"_s, u"home"_s, u"tray"_s} << 2 << u"usage:"_s;
        QTest::newRow("version") << QStringList{u"--version"_s} << 0 << QString();
    }
    void verbsWithoutARunningInstance()
    {
        QFETCH(QStringList, arguments);
        const Outcome outcome = talvo(arguments);
        QTEST(outcome.exitCode, "exitCode");
        QFETCH(QString, message);
        QVERIFY2(outcome.err.contains(message), qPrintable(outcome.err));
        if (outcome.exitCode == 0)
            QVERIFY2(outcome.out.startsWith(u"talvo 0."), qPrintable(outcome.out));
    }

    void verbsDriveTheRunningInstance()
    {
        QVERIFY(m_desktop->run(QStringLiteral(TALVO_BINARY),
                               {u"prefs"_s, u"set"_s, u"hasCompletedOnboarding"_s, u"true"_s}));
        QProcess *program = m_desktop->startProgram(QStringLiteral(TALVO_BINARY), {});
        QTRY_VERIFY_WITH_TIMEOUT(!m_desktop->notchRect().isEmpty(), 15000);
        m_desktop->movePointer(QPoint(960, 700));

        // Paths relative to the caller; a refused call adds nothing at all.
        QCOMPARE(talvo({u"add"_s, u"one.txt"_s, u"./two.txt"_s}).exitCode, 0);
        QTRY_COMPARE(state("itemCount").toInt(), 2);
        const Outcome missing = talvo({u"add"_s, u"one.txt"_s, u"absent.txt"_s});
        QCOMPARE(missing.exitCode, 1);
        QVERIFY2(missing.err.contains(m_files.filePath(u"absent.txt"_s)), qPrintable(missing.err));
        QCOMPARE(talvo({u"add"_s, u"--text"_s, QString()}).exitCode, 1);
        QCOMPARE(talvo({u"add"_s, u"--text"_s, u"-"_s}, "from standard input").exitCode, 0);
        QTRY_COMPARE(state("itemCount").toInt(), 3);
        QTest::qWait(200);
        QCOMPARE(state("itemCount").toInt(), 3);

        // Opened on a tab, and held open although the pointer is elsewhere.
        QCOMPARE(talvo({u"open"_s, u"tray"_s}).exitCode, 0);
        QTRY_VERIFY(state("isFullyExpanded").toBool());
        QCOMPARE(state("activeTab").toString(), u"tray"_s);
        m_desktop->movePointer(QPoint(900, 720));
        QTest::qWait(600);
        QVERIFY(state("isFullyExpanded").toBool());
        m_desktop->shoot(QRect(530, 0, 860, 250), u"commandline-open-tray"_s);
        const Outcome badTab = talvo({u"open"_s, u"attic"_s});
        QCOMPARE(badTab.exitCode, 1);
        QVERIFY2(badTab.err.contains(u"attic"_s), qPrintable(badTab.err));
        QCOMPARE(state("activeTab").toString(), u"tray"_s);

        // The published state, as JSON and as text.
        const Outcome status = talvo({u"status"_s, u"--json"_s});
        QCOMPARE(status.exitCode, 0);
        const QJsonObject json = QJsonDocument::fromJson(status.out.toUtf8()).object();
        QCOMPARE(json.value(u"itemCount"_s).toInt(), 3);
        QCOMPARE(json.value(u"activeTab"_s).toString(), u"tray"_s);
        QCOMPARE(json.value(u"isFullyExpanded"_s).toBool(), true);
        QCOMPARE(json.value(u"notchRect"_s).toArray().size(), 4);
        QVERIFY(talvo({u"status"_s}).out.contains(u"activeTab: tray"_s));

        QCOMPARE(talvo({u"collapse"_s}).exitCode, 0);
        QTRY_VERIFY(!state("isFullyExpanded").toBool());

        QCOMPARE(talvo({u"settings"_s, u"cellar"_s}).exitCode, 1);
        QVERIFY(m_desktop->findWindow("Talvo Settings") == XCB_NONE);
        QCOMPARE(talvo({u"settings"_s, u"general"_s}).exitCode, 0);
        QTRY_VERIFY_WITH_TIMEOUT(m_desktop->findWindow("Talvo Settings") != XCB_NONE, 10000);

        QCOMPARE(talvo({u"quit"_s}).exitCode, 0);
        QVERIFY(program->waitForFinished(10000));
        QCOMPARE(program->exitStatus(), QProcess::NormalExit);
        QCOMPARE(program->exitCode(), 0);
    }

    void withoutAnyDisplayItExitsWithAMessage()
    {
        QProcessEnvironment environment = m_desktop->environment();
        environment.remove(u"DISPLAY"_s);
        environment.remove(u"WAYLAND_DISPLAY"_s);
        const Outcome outcome = talvo({}, {}, environment);
        QCOMPARE(outcome.exitCode, 1);
        QVERIFY2(outcome.err.contains(u"no X display"_s), qPrintable(outcome.err));
    }

    void inAWaylandSessionItRunsOnX11AndSaysSo()
    {
        QVERIFY(m_desktop->run(QStringLiteral(TALVO_BINARY),
                               {u"prefs"_s, u"set"_s, u"hasCompletedOnboarding"_s, u"true"_s}));
        QProcessEnvironment environment = m_desktop->environment();
        environment.insert(u"WAYLAND_DISPLAY"_s, u"wayland-talvo-test"_s);
        environment.remove(u"QT_QPA_PLATFORM"_s);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.start(QStringLiteral(TALVO_BINARY), {});
        QTRY_VERIFY_WITH_TIMEOUT(!m_desktop->notchRect().isEmpty(), 15000);
        const QString log = QString::fromUtf8(program.readAll());
        QVERIFY2(log.contains(u"running through XWayland"_s), qPrintable(log));
        // The collapsed notch keeps taking the pointer at its outline, so that
        // hovering it works where other windows' pointer motion is hidden.
        const xcb_window_t window = m_desktop->findWindow("Talvo");
        QVERIFY(window != XCB_NONE);
        QCOMPARE(shapeRectangles(m_desktop->x(), window, XCB_SHAPE_SK_INPUT), QList<QRect>{QRect(337, 0, 186, 24)});
        program.terminate();
        QVERIFY(program.waitForFinished(10000));
    }
};

QTEST_GUILESS_MAIN(TestCommandDesktop)
#include "tst_commanddesktop.moc"
