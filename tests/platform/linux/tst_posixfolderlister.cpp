#include "platform/linux/PosixFolderLister.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace talvo;

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

class TestPosixFolderLister : public QObject
{
    Q_OBJECT
private slots:
    void describesTheDirectContents()
    {
        QTemporaryDir root;
        QDir dir(root.path());
        QVERIFY(makeFile(dir.filePath(QStringLiteral("report.pdf")), stamp));
        QVERIFY(makeFile(dir.filePath(QStringLiteral("name with spaces")), stamp.addDays(1)));
        QVERIFY(makeFile(dir.filePath(QStringLiteral(".hidden")), stamp));
        QVERIFY(dir.mkpath(QStringLiteral(".cache/inner")));
        QVERIFY(dir.mkpath(QStringLiteral("sub/deeper")));
        QVERIFY(makeFile(dir.filePath(QStringLiteral("sub/nested.txt"))));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("sub")), dir.filePath(QStringLiteral("link to sub"))));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("report.pdf")), dir.filePath(QStringLiteral("link to file"))));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("gone")), dir.filePath(QStringLiteral("dangling"))));

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

    void failuresAreReported_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << "missing";
        QTest::newRow("a file") << "file.txt";
    }
    void failuresAreReported()
    {
        QFETCH(QString, name);
        QTemporaryDir root;
        QVERIFY(makeFile(root.filePath(QStringLiteral("file.txt"))));
        const FolderListing listing = PosixFolderLister().list(root.filePath(name));
        QVERIFY(!listing.ok);
        QVERIFY(listing.entries.isEmpty());
        QVERIFY(listing.error.startsWith(root.filePath(name) + QStringLiteral(": ")));
    }
};

QTEST_GUILESS_MAIN(TestPosixFolderLister)
#include "tst_posixfolderlister.moc"
