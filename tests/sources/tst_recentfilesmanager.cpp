#include "fakes/FakeFileOpener.h"
#include "fakes/FakeFolderBookmarks.h"
#include "fakes/FakeFolderChooser.h"
#include "fakes/FakeFolderLister.h"
#include "fakes/InlineWorkQueue.h"
#include "fakes/MemoryPreferencesStorage.h"
#include "fakes/VirtualScheduler.h"
#include "preferences/Preferences.h"
#include "sources/RecentFilesManager.h"

#include <QSignalSpy>
#include <QTest>

using namespace talvo;
using namespace Qt::StringLiterals;

namespace {

const QString bookmarkKey = u"DownloadsFolderBookmark"_s;
const QString downloads = u"/home/u/Downloads"_s;
const QDateTime base(QDate(2026, 3, 1), QTime(12, 0), Qt::UTC);
const char *const kGone = "Error resolving Downloads folder bookmark: /home/u/Downloads is gone";

FolderEntry file(const QString &folder, const QString &name, int minutesAgo, bool isFolder = false)
{
    return {folder + u'/' + name, isFolder, base.addSecs(-60 * minutesAgo)};
}

QStringList names(const QList<QUrl> &urls)
{
    QStringList result;
    for (const QUrl &url : urls)
        result << url.fileName();
    return result;
}

struct Fixture
{
    explicit Fixture(std::optional<QString> grantedFolder = downloads)
    {
        if (grantedFolder)
            preferences.setObject(FakeFolderBookmarks::dataFor(*grantedFolder), bookmarkKey);
        manager = std::make_unique<RecentFilesManager>(preferences, scheduler, queue, chooser, bookmarks, lister,
                                                       opener);
    }
    // One refresh, with its result published.
    void refresh()
    {
        manager->refresh();
        scheduler.runPending();
    }
    QByteArray storedBookmark() const { return preferences.dataForKey(bookmarkKey).value_or("<none>"); }

    MemoryPreferencesStorage storage;
    Preferences preferences{storage};
    VirtualScheduler scheduler;
    InlineWorkQueue queue;
    FakeFolderChooser chooser;
    FakeFolderBookmarks bookmarks;
    FakeFolderLister lister;
    FakeFileOpener opener;
    std::unique_ptr<RecentFilesManager> manager;
};

} // namespace

class TestRecentFilesManager : public QObject
{
    Q_OBJECT
private slots:
    void withoutBookmarkNothingIsListed()
    {
        Fixture f(std::nullopt);
        QSignalSpy permission(f.manager.get(), &RecentFilesManager::hasPermissionChanged);
        QSignalSpy files(f.manager.get(), &RecentFilesManager::recentFilesChanged);
        f.manager->startMonitoring();
        f.scheduler.advance(10 * RecentFilesManager::refreshInterval.count());
        QVERIFY(!f.manager->hasPermission());
        QCOMPARE(f.bookmarks.resolutions() + f.lister.calls(), 0);
        QCOMPARE(permission.size() + files.size(), 0);
    }

    void grantFlow_data()
    {
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::addColumn<bool>("creationFails");
        QTest::addColumn<bool>("granted");
        QTest::newRow("cancelled") << std::optional<QString>() << false << false;
        QTest::newRow("bookmark cannot be made") << std::optional<QString>(u"/elsewhere"_s) << true << false;
        QTest::newRow("confirmed") << std::optional<QString>(u"/elsewhere"_s) << false << true;
    }
    void grantFlow()
    {
        QFETCH(std::optional<QString>, answer);
        QFETCH(bool, creationFails);
        QFETCH(bool, granted);
        Fixture f(std::nullopt);
        f.chooser.answer = answer;
        f.chooser.downloads = downloads;
        f.bookmarks.setFailCreation(creationFails);
        f.lister.setEntries(u"/elsewhere"_s, {file(u"/elsewhere"_s, u"a.txt"_s, 1)});
        QSignalSpy permission(f.manager.get(), &RecentFilesManager::hasPermissionChanged);

        f.manager->requestAccess();
        f.manager->requestAccess(); // a second click while the chooser is on its way
        QVERIFY(f.chooser.requests.isEmpty()); // the chooser opens on a later turn
        if (creationFails)
            QTest::ignoreMessage(QtWarningMsg, "Error creating Downloads folder bookmark: cannot create");
        f.scheduler.runPending();

        QCOMPARE(f.chooser.requests.size(), 1);
        const FolderChooserRequest &request = f.chooser.requests.first();
        QCOMPARE(request.message, u"Grant access to your Downloads folder to display recent files."_s);
        QCOMPARE(request.prompt, u"Grant Access"_s);
        QCOMPARE(request.startDirectory, downloads);

        QCOMPARE(f.manager->hasPermission(), granted);
        QCOMPARE(permission.size(), granted ? 1 : 0);
        QCOMPARE(f.storedBookmark(), granted ? FakeFolderBookmarks::dataFor(u"/elsewhere"_s) : "<none>");
        QCOMPARE(names(f.manager->recentFiles()), granted ? QStringList{"a.txt"} : QStringList{});
    }

    void chooserStartsAnywhereWithoutDownloadsFolder()
    {
        Fixture f(std::nullopt);
        f.manager->requestAccess();
        f.scheduler.runPending();
        QVERIFY(f.chooser.requests.first().startDirectory.isEmpty());
    }

    void filesAreChosenNewestFirst_data()
    {
        QTest::addColumn<QList<FolderEntry>>("entries");
        QTest::addColumn<QStringList>("expected");
        const QString d = downloads;
        QList<FolderEntry> forty;
        QStringList newest;
        for (int i = 0; i < 40; ++i) {
            // Shuffled minutes: the listing's own order must not matter.
            const int minutes = (i * 17) % 40;
            forty << file(d, u"f%1"_s.arg(minutes, 2, 10, QChar(u'0')), minutes);
        }
        for (int minutes = 0; minutes < 15; ++minutes)
            newest << u"f%1"_s.arg(minutes, 2, 10, QChar(u'0'));
        QTest::newRow("40 files give the 15 newest") << forty << newest;
        QTest::newRow("folders never") << QList<FolderEntry>{file(d, "new folder", 0, true), file(d, "a", 5)}
                                       << QStringList{"a"};
        QTest::newRow("unknown kind counts as a file")
            << QList<FolderEntry>{FolderEntry{d + "/mystery", std::nullopt, base}, file(d, "a", 5)}
            << QStringList{"mystery", "a"};
        QTest::newRow("undated after dated")
            << QList<FolderEntry>{FolderEntry{d + "/undated", false, {}}, file(d, "old", 600), file(d, "new", 1)}
            << QStringList{"new", "old", "undated"};
        QTest::newRow("equal dates in name order")
            << QList<FolderEntry>{file(d, "c", 3), file(d, "b", 3), file(d, "a", 3), file(d, "z", 1)}
            << QStringList{"z", "a", "b", "c"};
    }
    void filesAreChosenNewestFirst()
    {
        QFETCH(QList<FolderEntry>, entries);
        QFETCH(QStringList, expected);
        Fixture f;
        f.lister.setEntries(downloads, entries);
        f.refresh();
        QCOMPARE(names(f.manager->recentFiles()), expected);
        QCOMPARE(f.manager->recentFilesModel()->rowCount(), expected.size());
        QCOMPARE(f.manager->recentFiles().first().toLocalFile(), downloads + u'/' + expected.first());
    }

    void unchangedFolderIsNotRepublished()
    {
        Fixture f;
        f.lister.setEntries(downloads, {file(downloads, "b", 2), file(downloads, "a", 1)});
        QSignalSpy files(f.manager.get(), &RecentFilesManager::recentFilesChanged);
        QSignalSpy resets(f.manager->recentFilesModel(), &QAbstractItemModel::modelReset);
        f.manager->startMonitoring();
        f.manager->startMonitoring();
        f.scheduler.advance(5 * RecentFilesManager::refreshInterval.count());
        QCOMPARE(f.lister.calls(), 6);
        QCOMPARE(files.size(), 1);
        QCOMPARE(resets.size(), 1);

        // The same files in a new order is a change.
        f.lister.setEntries(downloads, {file(downloads, "b", 0), file(downloads, "a", 1)});
        f.scheduler.advance(RecentFilesManager::refreshInterval);
        QCOMPARE(names(f.manager->recentFiles()), (QStringList{"b", "a"}));
        QCOMPARE(files.size(), 2);
    }

    void deletedFolderTakesPermissionAway()
    {
        Fixture f;
        f.lister.setEntries(downloads, {file(downloads, "a", 1)});
        f.refresh();
        QSignalSpy permission(f.manager.get(), &RecentFilesManager::hasPermissionChanged);
        QSignalSpy files(f.manager.get(), &RecentFilesManager::recentFilesChanged);

        f.bookmarks.removeFolder(downloads);
        for (int i = 0; i < 2; ++i) { // the bookmark stays and is tried again
            QTest::ignoreMessage(QtWarningMsg, kGone);
            f.refresh();
            QVERIFY(!f.manager->hasPermission());
            QVERIFY(f.manager->recentFiles().isEmpty());
            QCOMPARE(permission.size(), 1);
            QCOMPARE(files.size(), 1);
            QCOMPARE(f.lister.calls(), 1);
            QCOMPARE(f.storedBookmark(), FakeFolderBookmarks::dataFor(downloads));
        }
        QCOMPARE(f.bookmarks.resolutions(), 3);
    }

    void movedFolderIsRewrittenAndListed()
    {
        Fixture f;
        const QString moved = u"/home/u/Old Downloads"_s;
        f.lister.setEntries(downloads, {});
        f.lister.setEntries(moved, {file(moved, "a", 1)});
        f.refresh();
        QCOMPARE(f.bookmarks.creations(), 0); // a fresh bookmark is not rewritten

        f.bookmarks.moveFolder(downloads, moved);
        f.refresh();
        QCOMPARE(f.storedBookmark(), FakeFolderBookmarks::dataFor(moved));
        QCOMPARE(names(f.manager->recentFiles()), QStringList{"a"});
        QVERIFY(f.manager->hasPermission());
        f.refresh();
        QCOMPARE(f.bookmarks.creations(), 1);
    }

    void listingFailureKeepsTheState()
    {
        Fixture f;
        f.lister.setEntries(downloads, {file(downloads, "a", 1)});
        f.refresh();
        QSignalSpy files(f.manager.get(), &RecentFilesManager::recentFilesChanged);
        f.lister.setFailure(downloads, u"Permission denied"_s);
        QTest::ignoreMessage(QtWarningMsg, "Error reading downloads folder: Permission denied");
        f.refresh();
        QCOMPARE(names(f.manager->recentFiles()), QStringList{"a"});
        QVERIFY(f.manager->hasPermission());
        QCOMPARE(files.size(), 0);
        QCOMPARE(f.bookmarks.accessLog(), (QStringList{"start:" + downloads, "stop:" + downloads,
                                                       "start:" + downloads, "stop:" + downloads}));
    }

    void openingWorksWithOrWithoutTheFolder_data()
    {
        QTest::addColumn<bool>("bookmarked");
        QTest::addColumn<bool>("resolvable");
        QTest::addColumn<QStringList>("access");
        QTest::newRow("no bookmark") << false << false << QStringList{};
        QTest::newRow("bookmark resolves") << true << true << QStringList{"start:" + downloads, "stop:" + downloads};
        QTest::newRow("bookmark broken") << true << false << QStringList{};
    }
    void openingWorksWithOrWithoutTheFolder()
    {
        QFETCH(bool, bookmarked);
        QFETCH(bool, resolvable);
        Fixture f(bookmarked ? std::optional<QString>(downloads) : std::nullopt);
        if (!resolvable && bookmarked) {
            f.bookmarks.removeFolder(downloads);
            QTest::ignoreMessage(QtWarningMsg, kGone);
        }
        const QUrl url = QUrl::fromLocalFile(downloads + u"/report.pdf"_s);
        f.manager->openFile(url);
        QCOMPARE(f.opener.opened, QList<QUrl>{url});
        QTEST(f.bookmarks.accessLog(), "access");
    }

    void slowListingsDoNotPileUp()
    {
        Fixture f;
        f.lister.setEntries(downloads, {file(downloads, "a", 1)});
        f.queue.holdWork(true);
        f.manager->startMonitoring();
        f.scheduler.advance(10 * RecentFilesManager::refreshInterval.count());
        QCOMPARE(f.queue.heldCount(), 1);
        f.queue.runAllHeld();
        f.scheduler.runPending();
        QCOMPARE(names(f.manager->recentFiles()), QStringList{"a"});
        f.scheduler.advance(RecentFilesManager::refreshInterval);
        QCOMPARE(f.queue.heldCount(), 1);
    }

    void grantDuringAListingReplacesItsResult()
    {
        const QString oldFolder = u"/old"_s;
        const QString newFolder = u"/new"_s;
        Fixture f(oldFolder);
        f.lister.setEntries(newFolder, {file(newFolder, "new file", 1)});
        // The old folder moved: the pass out there would renew its bookmark.
        f.bookmarks.moveFolder(oldFolder, u"/old moved"_s);
        f.lister.setEntries(u"/old moved"_s, {file(u"/old moved"_s, "old file", 1)});
        QSignalSpy files(f.manager.get(), &RecentFilesManager::recentFilesChanged);

        f.queue.holdWork(true);
        f.manager->refresh();
        f.chooser.answer = newFolder;
        f.manager->requestAccess();
        f.scheduler.runPending(); // the user picks the new folder
        QCOMPARE(f.storedBookmark(), FakeFolderBookmarks::dataFor(newFolder));

        f.queue.runAllHeld(); // the old pass comes back
        f.scheduler.runPending();
        QCOMPARE(f.storedBookmark(), FakeFolderBookmarks::dataFor(newFolder));
        QVERIFY(f.manager->recentFiles().isEmpty());
        f.queue.runAllHeld();
        f.scheduler.runPending();
        QCOMPARE(names(f.manager->recentFiles()), QStringList{"new file"});
        QCOMPARE(files.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestRecentFilesManager)
#include "tst_recentfilesmanager.moc"
