// Recent downloads with the real folder services on a temporary folder, from
// the grant to a renamed and finally a deleted folder.

#include "app/Preferences.h"
#include "fakes/FakeFileOpener.h"
#include "fakes/FakeFolderChooser.h"
#include "fakes/InlineWorkQueue.h"
#include "fakes/MemoryPreferencesStorage.h"
#include "fakes/VirtualScheduler.h"
#include "platform/linux/InodeFolderBookmarks.h"
#include "platform/linux/PosixFolderLister.h"
#include "sources/RecentFilesManager.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace talvo;

namespace {

const QDateTime base(QDate(2026, 2, 1), QTime(10, 0), Qt::UTC);

bool makeFile(const QString &path, const QDateTime &modified)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.setFileTime(modified, QFileDevice::FileModificationTime);
}

QStringList names(const QList<QUrl> &urls)
{
    QStringList result;
    for (const QUrl &url : urls)
        result << url.fileName();
    return result;
}

} // namespace

class TestRecentFilesOnDisk : public QObject
{
    Q_OBJECT
private slots:
    void followsTheGrantedFolderThroughItsLife()
    {
        QTemporaryDir root;
        QDir dir(root.path());
        QVERIFY(dir.mkpath(QStringLiteral("home/Downloads")));
        const QString downloads = dir.filePath(QStringLiteral("home/Downloads"));
        QStringList newest;
        for (int i = 0; i < 40; ++i) {
            const QString name = QStringLiteral("file%1.bin").arg(i, 2, 10, QLatin1Char('0'));
            QVERIFY(makeFile(downloads + u'/' + name, base.addSecs(60 * i)));
            if (i >= 25)
                newest.prepend(name);
        }
        // Newer than every file, yet never listed.
        QVERIFY(makeFile(downloads + QStringLiteral("/.partial"), base.addDays(1)));
        QVERIFY(QDir(downloads).mkdir(QStringLiteral("unpacked")));
        QVERIFY(QDir(downloads).mkdir(QStringLiteral(".thumbnails")));

        MemoryPreferencesStorage storage;
        Preferences preferences(storage);
        VirtualScheduler scheduler;
        InlineWorkQueue queue;
        FakeFolderChooser chooser;
        InodeFolderBookmarks bookmarks;
        PosixFolderLister lister;
        FakeFileOpener opener;
        RecentFilesManager manager(preferences, scheduler, queue, chooser, bookmarks, lister, opener);
        QSignalSpy files(&manager, &RecentFilesManager::recentFilesChanged);

        manager.startMonitoring();
        scheduler.advance(RecentFilesManager::refreshInterval);
        QVERIFY(!manager.hasPermission());
        QVERIFY(manager.recentFiles().isEmpty());

        chooser.answer = downloads;
        manager.requestAccess();
        scheduler.runPending();
        QVERIFY(manager.hasPermission());
        QCOMPARE(names(manager.recentFiles()), newest);
        scheduler.advance(3 * RecentFilesManager::refreshInterval.count());
        QCOMPARE(files.size(), 1);

        // Renamed: the bookmark is renewed and the same files show at their new place.
        const QByteArray grantedBookmark = *preferences.dataForKey(QStringLiteral("DownloadsFolderBookmark"));
        QVERIFY(dir.rename(QStringLiteral("home/Downloads"), QStringLiteral("home/Fetched")));
        scheduler.advance(RecentFilesManager::refreshInterval);
        QVERIFY(manager.hasPermission());
        QCOMPARE(names(manager.recentFiles()), newest);
        QCOMPARE(manager.recentFiles().first().toLocalFile(),
                 dir.filePath(QStringLiteral("home/Fetched/")) + newest.first());
        const QByteArray renewed = *preferences.dataForKey(QStringLiteral("DownloadsFolderBookmark"));
        QVERIFY(renewed != grantedBookmark);
        QCOMPARE(bookmarks.resolveBookmark(renewed).isStale, false);

        manager.openFile(manager.recentFiles().first());
        QCOMPARE(opener.opened, QList<QUrl>{manager.recentFiles().first()});

        // Deleted: the list empties, the permission goes, the bookmark stays.
        QVERIFY(QDir(dir.filePath(QStringLiteral("home/Fetched"))).removeRecursively());
        QTest::ignoreMessage(QtInfoMsg,
                             QRegularExpression(QStringLiteral("^Error resolving Downloads folder bookmark: .*Fetched: ")));
        scheduler.advance(RecentFilesManager::refreshInterval);
        QVERIFY(!manager.hasPermission());
        QVERIFY(manager.recentFiles().isEmpty());
        QCOMPARE(*preferences.dataForKey(QStringLiteral("DownloadsFolderBookmark")), renewed);
    }
};

QTEST_GUILESS_MAIN(TestRecentFilesOnDisk)
#include "tst_recentfilesondisk.moc"
