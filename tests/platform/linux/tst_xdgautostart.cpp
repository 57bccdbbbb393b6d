#include "platform/linux/XdgAutostartLoginItem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace talvo;
using Status = LoginItemService::Status;

class TestXdgAutostart : public QObject
{
    Q_OBJECT
private slots:
    void statusFollowsTheEntry_data()
    {
        QTest::addColumn<QByteArray>("entry"); // empty: no file
        QTest::addColumn<Status>("status");
        QTest::newRow("no entry") << QByteArray() << Status::NotRegistered;
        QTest::newRow("plain entry") << QByteArray("[Desktop Entry]\nType=Application\nExec=talvo\n") << Status::Enabled;
        QTest::newRow("hidden") << QByteArray("[Desktop Entry]\nExec=talvo\nHidden=true\n") << Status::NotRegistered;
        QTest::newRow("turned off in the desktop") << QByteArray("[Desktop Entry]\nExec=talvo\nX-GNOME-Autostart-enabled=false\n")
                                                   << Status::NotRegistered;
        QTest::newRow("key in another group does not count")
            << QByteArray("[Desktop Entry]\nExec=talvo\n[Desktop Action x]\nHidden=true\n") << Status::Enabled;
    }
    void statusFollowsTheEntry()
    {
        QFETCH(QByteArray, entry);
        QFETCH(Status, status);
        QTemporaryDir dir;
        XdgAutostartLoginItem item(dir.path(), QStringLiteral("/usr/bin/talvo"));
        if (!entry.isEmpty()) {
            QFile file(item.entryPath());
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(entry);
        }
        QCOMPARE(item.status(), status);
    }

    void registerWritesAnEntryThatStartsTalvo_data()
    {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("exec");
        QTest::newRow("plain path") << QStringLiteral("/opt/talvo/bin/talvo") << QStringLiteral("/opt/talvo/bin/talvo");
        QTest::newRow("path with a space") << QStringLiteral("/home/a b/talvo") << QStringLiteral("\"/home/a b/talvo\"");
        QTest::newRow("path with a dollar") << QStringLiteral("/tmp/$x/talvo") << QStringLiteral("\"/tmp/\\\\$x/talvo\"");
    }
    void registerWritesAnEntryThatStartsTalvo()
    {
        QFETCH(QString, executable);
        QTemporaryDir dir;
        XdgAutostartLoginItem item(dir.filePath(QStringLiteral("autostart")), executable);
        QVERIFY(!item.registerItem());
        QCOMPARE(item.status(), Status::Enabled);
        const auto entry = DesktopEntry::read(item.entryPath());
        QTEST(entry.value(QStringLiteral("Exec")), "exec");
        QCOMPARE(entry.value(QStringLiteral("Type")), QStringLiteral("Application"));
        QVERIFY(!item.unregisterItem());
        QCOMPARE(item.status(), Status::NotRegistered);
    }

    void registerReportsAFailure()
    {
        QTemporaryDir dir;
        const QString blocker = dir.filePath(QStringLiteral("autostart"));
        QFile file(blocker); // a file where the folder should be
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        XdgAutostartLoginItem item(blocker, QStringLiteral("/usr/bin/talvo"));
        const auto error = item.registerItem();
        QVERIFY(error);
        QVERIFY(!error->isEmpty());
    }

    void launcherEntryAndIconAreInstalled()
    {
        QTemporaryDir dir;
        DesktopEntry::installLauncher(dir.path(), QStringLiteral("/opt/talvo"));
        QCOMPARE(DesktopEntry::read(dir.filePath(QStringLiteral("applications/com.talvo.Talvo.desktop")))
                     .value(QStringLiteral("Exec")),
                 QStringLiteral("/opt/talvo"));
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("icons/hicolor/scalable/apps/com.talvo.Talvo.svg"))));
    }

    // Favourites are paths from the preferences: anything but a file reads as
    // no entry, at once.
    void onlyFilesAreReadAsEntries_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("endless device") << QStringLiteral("/dev/zero");
        QTest::newRow("pipe without a writer") << QStringLiteral("fifo.desktop");
        QTest::newRow("folder") << QStringLiteral(".");
    }
    void onlyFilesAreReadAsEntries()
    {
        QFETCH(QString, path);
        QTemporaryDir dir;
        QVERIFY(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("fifo.desktop"))).constData(), 0600) == 0);
        QVERIFY(DesktopEntry::read(QDir(dir.path()).absoluteFilePath(path)).isEmpty());
    }

    // Entries written under the old name move once, keeping the user's choice.
    void legacyAutostartEntryMigrates_data()
    {
        QTest::addColumn<QByteArray>("legacy");
        QTest::addColumn<bool>("currentExists");
        QTest::addColumn<bool>("legacyRemains");
        QTest::addColumn<Status>("status");
        const QByteArray on("[Desktop Entry]\nName=Talvo\nExec=/usr/bin/talvo\n");
        QTest::newRow("enabled") << on << false << false << Status::Enabled;
        QTest::newRow("turned off stays off")
            << QByteArray(on + "X-GNOME-Autostart-enabled=false\n") << false << false << Status::NotRegistered;
        QTest::newRow("current one already there") << on << true << false << Status::Enabled;
        QTest::newRow("someone else's file") << QByteArray("[Desktop Entry]\nName=Other\nExec=other\n") << false << true
                                             << Status::NotRegistered;
    }
    void legacyAutostartEntryMigrates()
    {
        QFETCH(QByteArray, legacy);
        QFETCH(bool, currentExists);
        QTemporaryDir dir;
        XdgAutostartLoginItem item(dir.path(), QStringLiteral("/usr/bin/talvo"));
        if (currentExists)
            QVERIFY(!item.registerItem());
        QFile file(dir.filePath(QStringLiteral("talvo.desktop")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(legacy);
        file.close();
        QVERIFY(!item.migrateLegacyEntry());
        QTEST(file.exists(), "legacyRemains");
        QTEST(item.status(), "status");
        QVERIFY(!item.migrateLegacyEntry()); // the second time finds nothing to do
    }
};

QTEST_GUILESS_MAIN(TestXdgAutostart)
#include "tst_xdgautostart.moc"
