#include "E2eDesktop.h"

#include <QElapsedTimer>
#include <QTest>

using namespace talvo::e2e;

// Start-up of the real program: the first-run window, and a second launch
// handing over to the running instance.
class TestAppShell : public QObject
{
    Q_OBJECT

    std::unique_ptr<E2eDesktop> m_desktop;

    bool runPrefs(const QStringList &arguments)
    {
        return m_desktop->run(QStringLiteral(TALVO_BINARY), QStringList{QStringLiteral("prefs")} + arguments);
    }

private slots:
    void initTestCase()
    {
        E2E_REQUIRE_TOOLS("Xvfb", "dbus-daemon");
    }

    void init()
    {
        m_desktop = std::make_unique<E2eDesktop>(E2eDesktop::Options{});
        QVERIFY2(m_desktop->start(), qPrintable(m_desktop->error()));
    }
    void cleanup() { m_desktop.reset(); }

    void firstLaunchOpensTheFirstRunWindowHalfASecondLater()
    {
        QElapsedTimer sinceStart;
        sinceStart.start();
        m_desktop->startProgram(QStringLiteral(TALVO_BINARY), {});
        QTRY_VERIFY_WITH_TIMEOUT(m_desktop->findWindow("Welcome to Talvo") != XCB_NONE, 15000);
        // Not before the half second, whatever the machine's speed.
        QVERIFY2(sinceStart.elapsed() >= 500, qPrintable(QString::number(sinceStart.elapsed())));
        QVERIFY(m_desktop->findWindow("Talvo Settings") == XCB_NONE);
    }

    void secondLaunchOpensTheSettingsOfTheRunningOne()
    {
        QVERIFY(runPrefs({QStringLiteral("set"), QStringLiteral("hasCompletedOnboarding"), QStringLiteral("true")}));
        QProcess *first = m_desktop->startProgram(QStringLiteral(TALVO_BINARY), {});
        QTRY_VERIFY_WITH_TIMEOUT(!m_desktop->notchRect().isEmpty(), 15000);
        QVERIFY(m_desktop->findWindow("Talvo Settings") == XCB_NONE);

        QProcess *second = m_desktop->startProgram(QStringLiteral(TALVO_BINARY), {});
        QVERIFY(second->waitForFinished(10000));
        QCOMPARE(second->exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(m_desktop->findWindow("Talvo Settings") != XCB_NONE, 10000);
        QCOMPARE(first->state(), QProcess::Running);

        // A third launch re-focuses the same window rather than opening another.
        QProcess *third = m_desktop->startProgram(QStringLiteral(TALVO_BINARY), {});
        QVERIFY(third->waitForFinished(10000));
        QTest::qWait(300);
        QCOMPARE(first->state(), QProcess::Running);
    }
};

QTEST_GUILESS_MAIN(TestAppShell)
#include "tst_appshell.moc"
