#include "fakes/PrivateBus.h"
#include "platform/linux/LinuxSystemActions.h"

#include <QDBusObjectPath>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <future>

using namespace talvo;
using namespace Qt::Literals::StringLiterals;

namespace {

QStringList g_calls;

class FakeLoginManager : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public slots:
    QDBusObjectPath GetSessionByPID(uint)
    {
        g_calls.append(u"GetSessionByPID"_s);
        return QDBusObjectPath(u"/org/freedesktop/login1/session/_31"_s);
    }
    void Suspend(bool interactive) { g_calls.append(u"Suspend interactive=%1"_s.arg(interactive)); }
};

class FakeLoginSession : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Session")
public slots:
    void Lock() { g_calls.append(u"Session.Lock"_s); }
};

class FakeScreenSaver : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public slots:
    void Lock() { g_calls.append(u"ScreenSaver.Lock"_s); }
};

} // namespace

// The desktop's actions against stand-ins: logind and the screen saver on
// private buses, GSettings in a key-file store of the test's own.
class TestLinuxSystemActions : public QObject
{
    Q_OBJECT

    // Runs an action on a thread of its own while this one serves the fakes.
    static PlatformResult<> run(std::function<PlatformResult<>()> action)
    {
        auto result = std::async(std::launch::async, std::move(action));
        while (result.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
            QCoreApplication::processEvents();
        return result.get();
    }

private slots:
    void lockAndSuspendReachLogind_data()
    {
        QTest::addColumn<bool>("logind");
        QTest::addColumn<bool>("screenSaver");
        QTest::addColumn<QStringList>("lockCalls");
        QTest::addColumn<bool>("locked");
        QTest::newRow("logind") << true << true << QStringList{u"GetSessionByPID"_s, u"Session.Lock"_s} << true;
        QTest::newRow("screen saver without logind") << false << true << QStringList{u"ScreenSaver.Lock"_s} << true;
        QTest::newRow("neither") << false << false << QStringList{} << false;
    }
    void lockAndSuspendReachLogind()
    {
        QFETCH(bool, logind);
        QFETCH(bool, screenSaver);
        PrivateBus system;
        PrivateBus session;
        QVERIFY2(system.start(), qPrintable(system.error()));
        QVERIFY2(session.start(), qPrintable(session.error()));
        QDBusConnection serviceSystem = system.connect(u"service-system"_s);
        QDBusConnection serviceSession = session.connect(u"service-session"_s);
        system.connect(u"client-system"_s);
        session.connect(u"client-session"_s);

        FakeLoginManager manager;
        FakeLoginSession loginSession;
        FakeScreenSaver saver;
        if (logind) {
            QVERIFY(serviceSystem.registerObject(u"/org/freedesktop/login1"_s, &manager, QDBusConnection::ExportAllSlots));
            QVERIFY(serviceSystem.registerObject(u"/org/freedesktop/login1/session/_31"_s, &loginSession,
                                                 QDBusConnection::ExportAllSlots));
            QVERIFY(serviceSystem.registerService(u"org.freedesktop.login1"_s));
        }
        if (screenSaver) {
            QVERIFY(serviceSession.registerObject(u"/org/freedesktop/ScreenSaver"_s, &saver, QDBusConnection::ExportAllSlots));
            QVERIFY(serviceSession.registerService(u"org.freedesktop.ScreenSaver"_s));
        }

        LinuxSystemActions actions({u"client-system"_s, u"client-session"_s});
        g_calls.clear();
        const PlatformResult<> lock = run([&] { return actions.lockScreen(); });
        QTEST(g_calls, "lockCalls");
        QTEST(lock.succeeded(), "locked");
        if (!lock.succeeded())
            QVERIFY2(lock.error.contains(u"logind"_s) && lock.error.contains(u"screen saver"_s), qPrintable(lock.error));

        g_calls.clear();
        const PlatformResult<> suspend = run([&] { return actions.suspend(); });
        QCOMPARE(suspend.succeeded(), logind);
        QCOMPARE(g_calls, logind ? QStringList{u"Suspend interactive=1"_s} : QStringList{});
    }

    void darkModeFlipsTheColourSchemeAndBack()
    {
        if (QStandardPaths::findExecutable(u"gsettings"_s).isEmpty())
            QSKIP("gsettings is not installed");
        QTemporaryDir config;
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
        qputenv("GSETTINGS_BACKEND", "keyfile");
        qputenv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
        const auto scheme = [] {
            QProcess get;
            get.start(u"gsettings"_s, {u"get"_s, u"org.gnome.desktop.interface"_s, u"color-scheme"_s});
            get.waitForFinished();
            return QString::fromUtf8(get.readAllStandardOutput()).trimmed();
        };
        if (!scheme().startsWith(u'\''))
            QSKIP("the GNOME interface schema is not installed");
        LinuxSystemActions actions;
        QVERIFY(actions.toggleDarkMode().succeeded());
        QCOMPARE(scheme(), u"'prefer-dark'"_s);
        QVERIFY(QFile::exists(config.filePath(u"glib-2.0/settings/keyfile"_s)));
        QVERIFY(actions.toggleDarkMode().succeeded());
        QCOMPARE(scheme(), u"'default'"_s);

        qputenv("XDG_CURRENT_DESKTOP", "Unheard");
        const PlatformResult<> unknown = actions.toggleDarkMode();
        QVERIFY(!unknown.succeeded());
        QVERIFY2(unknown.error.contains(u"Unheard"_s), qPrintable(unknown.error));
    }
};

QTEST_GUILESS_MAIN(TestLinuxSystemActions)
#include "tst_linuxsystemactions.moc"
