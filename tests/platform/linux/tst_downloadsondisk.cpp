// The Downloads folder services on real folders: the lister and the bookmarks.

#include "platform/linux/InodeFolderBookmarks.h"
#include "platform/linux/PosixFolderLister.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace talvo;
using namespace Qt::StringLiterals;

namespace {

const QDateTime stamp(QDate(2025, 6, 1), QTime(8, 30, 15, 250), Qt::UTC);

bool makeFile(const QString &path, const QDateTime &modified = {})
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return !modified.isValid() || file.setFileTime(modified, QFileDevice::FileModificationTime);
}

const FolderEntry *find(const FolderListing &listing, const QString &name)
{
    for (const FolderEntry &entry : listing.entries) {
        if (entry.path.endsWith(u'/' + name))
            return &entry;
    }
    return nullptr;
}

} // namespace

class TestDownloadsOnDisk : public QObject
{
    Q_OBJECT
private slots:
    void listerDescribesTheDirectContents()
    {
        QTemporaryDir root;
        QDir dir(root.path());
        QVERIFY(makeFile(dir.filePath(u"report.pdf"_s), stamp));
        QVERIFY(makeFile(dir.filePath(u"name with spaces"_s), stamp.addDays(1)));
        QVERIFY(makeFile(dir.filePath(u".hidden"_s), stamp));
        QVERIFY(dir.mkpath(u".cache/inner"_s));
        QVERIFY(dir.mkpath(u"sub/deeper"_s));
        QVERIFY(makeFile(dir.filePath(u"sub/nested.txt"_s)));
        QVERIFY(QFile::link(dir.filePath(u"sub"_s), dir.filePath(u"link to sub"_s)));
        QVERIFY(QFile::link(dir.filePath(u"report.pdf"_s), dir.filePath(u"link to file"_s)));
        QVERIFY(QFile::link(dir.filePath(u"gone"_s), dir.filePath(u"dangling"_s)));

        const FolderListing listing = PosixFolderLister().list(root.path());
        QVERIFY(listing.ok);
        QStringList paths;
        for (const FolderEntry &entry : listing.entries)
            paths << entry.path;
        paths.sort();
        QCOMPARE(paths, (QStringList{dir.filePath("dangling"), dir.filePath("link to file"),
                                     dir.filePath("link to sub"), dir.filePath("name with spaces"),
                                     dir.filePath("report.pdf"), dir.filePath("sub")}));

        QCOMPARE(find(listing, "report.pdf")->isDirectory, false);
        QCOMPARE(find(listing, "report.pdf")->modified, stamp);
        QCOMPARE(find(listing, "name with spaces")->modified, stamp.addDays(1));
        QCOMPARE(find(listing, "sub")->isDirectory, true);
        QCOMPARE(find(listing, "link to sub")->isDirectory, true);
        QCOMPARE(find(listing, "link to file")->modified, stamp);
        QVERIFY(!find(listing, "dangling")->isDirectory);
        QVERIFY(!find(listing, "dangling")->modified.isValid());
    }

    void notAFolderFailsWithItsPath_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << "missing";
        QTest::newRow("a file") << "file.txt";
        QTest::newRow("relative") << "";
    }
    void notAFolderFailsWithItsPath()
    {
        QFETCH(QString, name);
        QTemporaryDir root;
        QVERIFY(makeFile(root.filePath(u"file.txt"_s)));
        const QString path = name.isEmpty() ? u"relative/folder"_s : root.filePath(name);
        if (!name.isEmpty()) {
            const FolderListing listing = PosixFolderLister().list(path);
            QVERIFY(!listing.ok);
            QVERIFY(listing.entries.isEmpty());
            QVERIFY(listing.error.startsWith(path + u": "_s));
        }
        const BookmarkCreation created = InodeFolderBookmarks().createBookmark(path);
        QVERIFY(!created.data);
        QVERIFY(created.error.contains(path));
    }

    void folderIsFoundAgain_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("expected"); // relative to the root; empty: fails
        QTest::addColumn<bool>("stale");
        QTest::newRow("untouched") << "" << "home/Downloads" << false;
        QTest::newRow("renamed in place") << "rename home/Downloads home/Fetched" << "home/Fetched" << true;
        QTest::newRow("moved into a neighbour") << "rename home/Downloads home/Archive/Downloads"
                                                << "home/Archive/Downloads" << true;
        QTest::newRow("moved up a level") << "rename home/Downloads Downloads" << "Downloads" << true;
        QTest::newRow("another folder took its place") << "rename home/Downloads home/Old; mkdir home/Downloads"
                                                       << "home/Downloads" << true;
        QTest::newRow("deleted") << "rmdir home/Downloads" << "" << false;
        // Linux gives a freed inode number to the next new file: a folder made
        // later is not the one the user granted.
        QTest::newRow("deleted, its number reused nearby") << "rmdir home/Downloads; reuse home/New" << "" << false;
        QTest::newRow("deleted, its number reused in its place")
            << "rmdir home/Downloads; reuse home/Downloads" << "home/Downloads" << true;
        QTest::newRow("a file took its place") << "rmdir home/Downloads; touch home/Downloads" << "" << false;
        QTest::newRow("moved too far") << "rename home/Downloads home/Archive/2026/March/Downloads" << "" << false;
    }
    void folderIsFoundAgain()
    {
        QFETCH(QString, change);
        QFETCH(QString, expected);
        QFETCH(bool, stale);
        QTemporaryDir root;
        QDir dir(root.path());
        QVERIFY(dir.mkpath(u"home/Downloads"_s));
        QVERIFY(dir.mkpath(u"home/Archive/2026/March"_s));
        QVERIFY(dir.mkpath(u"home/Music"_s));
        QVERIFY(makeFile(dir.filePath(u"home/Downloads/a.txt"_s)));

        InodeFolderBookmarks bookmarks;
        const BookmarkCreation created = bookmarks.createBookmark(dir.filePath(u"home/Downloads"_s));
        QVERIFY2(created.data, qPrintable(created.error));

        struct stat granted;
        QVERIFY(::stat(QFile::encodeName(dir.filePath(u"home/Downloads"_s)).constData(), &granted) == 0);
        for (const QString &step : change.split(u"; "_s, Qt::SkipEmptyParts)) {
            const QStringList words = step.split(u' ');
            if (words[0] == QLatin1String("reuse")) {
                // New folders until one gets the granted folder's number.
                QString path = dir.filePath(words[1]);
                for (int i = 0; i < 64; ++i) {
                    QVERIFY(dir.mkdir(path));
                    struct stat made;
                    QVERIFY(::stat(QFile::encodeName(path).constData(), &made) == 0);
                    if (made.st_ino == granted.st_ino)
                        break;
                    QVERIFY(dir.rename(path, path + QString::number(i)));
                    if (i == 63)
                        QSKIP("this file system did not hand the inode number out again");
                }
            } else if (words[0] == QLatin1String("rename"))
                QVERIFY(dir.rename(words[1], words[2]));
            else if (words[0] == QLatin1String("mkdir"))
                QVERIFY(dir.mkdir(words[1]));
            else if (words[0] == QLatin1String("rmdir"))
                QVERIFY(QDir(dir.filePath(words[1])).removeRecursively());
            else if (words[0] == QLatin1String("touch"))
                QVERIFY(makeFile(dir.filePath(words[1])));
        }

        const BookmarkResolution resolved = bookmarks.resolveBookmark(*created.data);
        if (expected.isEmpty()) {
            QVERIFY(!resolved.path);
            QVERIFY(resolved.error.contains(dir.filePath(u"home/Downloads"_s)));
            return;
        }
        QVERIFY2(resolved.path, qPrintable(resolved.error));
        QCOMPARE(*resolved.path, dir.filePath(expected));
        QCOMPARE(resolved.isStale, stale);
        if (stale) {
            // A bookmark made afresh describes the folder exactly again.
            const BookmarkCreation renewed = bookmarks.createBookmark(*resolved.path);
            QVERIFY(renewed.data);
            const BookmarkResolution again = bookmarks.resolveBookmark(*renewed.data);
            QCOMPARE(again.path, resolved.path);
            QVERIFY(!again.isStale);
        }
    }

    void malformedDataFailsCleanly_data()
    {
        QTest::addColumn<QByteArray>("data");
        const auto json = [](QJsonObject object) {
            QJsonObject valid{{"format", "talvo-folder-bookmark"}, {"version", 1}, {"path", "/tmp"},
                              {"device", "1"}, {"inode", "2"}};
            for (auto it = object.begin(); it != object.end(); ++it) {
                if (it.value().isNull())
                    valid.remove(it.key());
                else
                    valid.insert(it.key(), it.value());
            }
            return QJsonDocument(valid).toJson();
        };
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not JSON") << QByteArray("\x01\x02garbage");
        QTest::newRow("foreign format") << json({{"format", "something else"}});
        QTest::newRow("no path") << json({{"path", QJsonValue::Null}});
        QTest::newRow("relative path") << json({{"path", "tmp"}});
        QTest::newRow("unclean path") << json({{"path", "/tmp/../etc"}});
        QTest::newRow("inode not a number") << json({{"inode", "two"}});
        QTest::newRow("inode as a JSON number") << json({{"inode", 2}});
    }
    void malformedDataFailsCleanly()
    {
        QFETCH(QByteArray, data);
        const BookmarkResolution resolved = InodeFolderBookmarks().resolveBookmark(data);
        QVERIFY(!resolved.path);
        QVERIFY(!resolved.error.isEmpty());
    }

};

QTEST_GUILESS_MAIN(TestDownloadsOnDisk)
#include "tst_downloadsondisk.moc"
