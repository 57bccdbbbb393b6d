#include "app/Preferences.h"
#include "fakes/FakeFileOpener.h"
#include "fakes/FakeFolderBookmarks.h"
#include "fakes/FakeFolderChooser.h"
#include "fakes/FakeFolderLister.h"
#include "fakes/InlineWorkQueue.h"
#include "fakes/MemoryPreferencesStorage.h"
#include "fakes/VirtualScheduler.h"
#include "sources/RecentFilesManager.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace talvo;

namespace {

const QString bookmarkKey = QStringLiteral("DownloadsFolderBookmark");
const QString downloads = QStringLiteral("/home/u/Downloads");
const QDateTime base(QDate(2026, 3, 1), QTime(12, 0), Qt::UTC);

FolderEntry file(const QString &folder, const QString &name, int minutesAgo)
{
    return {folder + u'/' + name, false, base.addSecs(-60 * minutesAgo)};
}

FolderEntry folder(const QString &parent, const QString &name, int minutesAgo)
{
    return {parent + u'/' + name, true, base.addSecs(-60 * minutesAgo)};
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
    std::optional<QByteArray> storedBookmark() const { return preferences.dataForKey(bookmarkKey); }

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
        QVERIFY(!f.manager->hasPermission());
        f.manager->startMonitoring();
        f.scheduler.advance(10 * RecentFilesManager::refreshInterval.count());
        QVERIFY(f.manager->recentFiles().isEmpty());
        QCOMPARE(f.bookmarks.resolutions(), 0);
        QCOMPARE(f.lister.calls(), 0);
        QCOMPARE(permission.size(), 0);
        QCOMPARE(files.size(), 0);
    }

    void grantFlow_data()
    {
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::addColumn<bool>("creationFails");
        QTest::addColumn<bool>("granted");
        QTest::newRow("cancelled") << std::optional<QString>() << false << false;
        QTest::newRow("bookmark cannot be made") << std::optional<QString>(QStringLiteral("/elsewhere")) << true << false;
        QTest::newRow("confirmed") << std::optional<QString>(QStringLiteral("/elsewhere")) << false << true;
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
        f.lister.setEntries(QStringLiteral("/elsewhere"), {file(QStringLiteral("/elsewhere"), QStringLiteral("a.txt"), 1)});
        QSignalSpy permission(f.manager.get(), &RecentFilesManager::hasPermissionChanged);

        f.manager->requestAccess();
        QVERIFY(f.chooser.requests.isEmpty()); // the chooser opens on a later turn
        if (creationFails)
            QTest::ignoreMessage(QtInfoMsg, "Error creating Downloads folder bookmark: cannot create");
        f.scheduler.runPending();

        QCOMPARE(f.chooser.requests.size(), 1);
        const FolderChooserRequest &request = f.chooser.requests.first();
        QCOMPARE(request.message, QStringLiteral("Grant access to your Downloads folder to display recent files."));
        QCOMPARE(request.prompt, QStringLiteral("Grant Access"));
        QCOMPARE(request.startDirectory, downloads);

        QCOMPARE(f.manager->hasPermission(), granted);
        QCOMPARE(permission.size(), granted ? 1 : 0);
        QCOMPARE(f.storedBookmark().has_value(), granted);
        QCOMPARE(names(f.manager->recentFiles()), granted ? QStringList{"a.txt"} : QStringList{});
        if (granted)
            QCOMPARE(*f.storedBookmark(), FakeFolderBookmarks::dataFor(QStringLiteral("/elsewhere")));
    }

    void chooserStartsAnywhereWithoutDownloadsFolder()
    {
        Fixture f(std::nullopt);
        f.manager->requestAccess();
        f.manager->requestAccess(); // a second click while it is open
        f.scheduler.runPending();
        QCOMPARE(f.chooser.requests.size(), 1);
        QVERIFY(f.chooser.requests.first().startDirectory.isEmpty());
        f.manager->requestAccess();
        f.scheduler.runPending();
        QCOMPARE(f.chooser.requests.size(), 2);
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
            forty << file(d, QStringLiteral("f%1").arg(minutes, 2, 10, QLatin1Char('0')), minutes);
        }
        for (int minutes = 0; minutes < 15; ++minutes)
            newest << QStringLiteral("f%1").arg(minutes, 2, 10, QLatin1Char('0'));
        QTest::newRow("40 files give the 15 newest") << forty << newest;

        QTest::newRow("folders never")
            << QList<FolderEntry>{folder(d, "new folder", 0), file(d, "a", 5), folder(d, "old folder", 9)}
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
        QTest::newRow("empty folder") << QList<FolderEntry>{} << QStringList{};
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
        if (!expected.isEmpty())
            QCOMPARE(f.manager->recentFiles().first().toLocalFile(), downloads + u'/' + expected.first());
    }

    void unchangedFolderIsNotRepublished()
    {
        Fixture f;
        f.lister.setEntries(downloads, {file(downloads, "b", 2), file(downloads, "a", 1)});
        QSignalSpy files(f.manager.get(), &RecentFilesManager::recentFilesChanged);
        QSignalSpy resets(f.manager->recentFilesModel(), &QAbstractItemModel::modelReset);
        QSignalSpy permission(f.manager.get(), &RecentFilesManager::hasPermissionChanged);
        f.manager->startMonitoring();
        f.manager->startMonitoring();
        QCOMPARE(f.lister.calls(), 1);
        f.scheduler.advance(5 * RecentFilesManager::refreshInterval.count());
        QCOMPARE(f.lister.calls(), 6);
        QCOMPARE(files.size(), 1);
        QCOMPARE(resets.size(), 1);
        QCOMPARE(permission.size(), 0);

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
        QTest::ignoreMessage(QtInfoMsg, "Error resolving Downloads folder bookmark: /home/u/Downloads is gone");
        f.refresh();
        QVERIFY(!f.manager->hasPermission());
        QVERIFY(f.manager->recentFiles().isEmpty());
        QCOMPARE(permission.size(), 1);
        QCOMPARE(files.size(), 1);
        QCOMPARE(f.lister.calls(), 1);
        // The bookmark stays and is tried again.
        QCOMPARE(*f.storedBookmark(), FakeFolderBookmarks::dataFor(downloads));
        QTest::ignoreMessage(QtInfoMsg, "Error resolving Downloads folder bookmark: /home/u/Downloads is gone");
        f.refresh();
        QCOMPARE(f.bookmarks.resolutions(), 3);
        QCOMPARE(permission.size(), 1);
        QCOMPARE(files.size(), 1);
    }

    void movedFolderIsRewrittenAndListed()
    {
        Fixture f;
        const QString moved = QStringLiteral("/home/u/Old Downloads");
        f.lister.setEntries(downloads, {});
        f.lister.setEntries(moved, {file(moved, "a", 1)});
        f.refresh();
        QCOMPARE(f.bookmarks.creations(), 0); // a fresh bookmark is not rewritten

        f.bookmarks.moveFolder(downloads, moved);
        f.refresh();
        QCOMPARE(*f.storedBookmark(), FakeFolderBookmarks::dataFor(moved));
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
        f.lister.setFailure(downloads, QStringLiteral("Permission denied"));
        QTest::ignoreMessage(QtInfoMsg, "Error reading downloads folder: Permission denied");
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
        QFETCH(QStringList, access);
        Fixture f(bookmarked ? std::optional<QString>(downloads) : std::nullopt);
        if (!resolvable && bookmarked) {
            f.bookmarks.removeFolder(downloads);
            QTest::ignoreMessage(QtInfoMsg, "Error resolving Downloads folder bookmark: /home/u/Downloads is gone");
        }
        const QUrl url = QUrl::fromLocalFile(downloads + QStringLiteral("/report.pdf"));
        f.manager->openFile(url);
        QCOMPARE(f.opener.opened, QList<QUrl>{url});
        QCOMPARE(f.bookmarks.accessLog(), access);
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
        const QString oldFolder = QStringLiteral("/old");
        const QString newFolder = QStringLiteral("/new");
        Fixture f(oldFolder);
        f.lister.setEntries(oldFolder, {file(oldFolder, "old file", 1)});
        f.lister.setEntries(newFolder, {file(newFolder, "new file", 1)});
        // The old folder moved: the pass out there would renew its bookmark.
        f.bookmarks.moveFolder(oldFolder, QStringLiteral("/old moved"));
        f.lister.setEntries(QStringLiteral("/old moved"), {file(QStringLiteral("/old moved"), "old file", 1)});
        QSignalSpy files(f.manager.get(), &RecentFilesManager::recentFilesChanged);

        f.queue.holdWork(true);
        f.manager->refresh();
        f.chooser.answer = newFolder;
        f.manager->requestAccess();
        f.scheduler.runPending(); // the user picks the new folder
        QCOMPARE(*f.storedBookmark(), FakeFolderBookmarks::dataFor(newFolder));

        f.queue.runAllHeld(); // the old pass comes back
        f.scheduler.runPending();
        QCOMPARE(*f.storedBookmark(), FakeFolderBookmarks::dataFor(newFolder));
        QVERIFY(f.manager->recentFiles().isEmpty());
        f.queue.runAllHeld();
        f.scheduler.runPending();
        QCOMPARE(names(f.manager->recentFiles()), QStringList{"new file"});
        QCOMPARE(files.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestRecentFilesManager)
#include "tst_recentfilesmanager.moc"
