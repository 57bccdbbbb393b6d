#include "platform/linux/InodeFolderBookmarks.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace talvo;

namespace {

bool makeFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

} // namespace

class TestInodeFolderBookmarks : public QObject
{
    Q_OBJECT
private slots:
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
        QVERIFY(dir.mkpath(QStringLiteral("home/Downloads")));
        QVERIFY(dir.mkpath(QStringLiteral("home/Archive/2026/March")));
        QVERIFY(dir.mkpath(QStringLiteral("home/Music")));
        QVERIFY(makeFile(dir.filePath(QStringLiteral("home/Downloads/a.txt"))));

        InodeFolderBookmarks bookmarks;
        const BookmarkCreation created = bookmarks.createBookmark(dir.filePath(QStringLiteral("home/Downloads")));
        QVERIFY2(created.data, qPrintable(created.error));

        for (const QString &step : change.split(QStringLiteral("; "), Qt::SkipEmptyParts)) {
            const QStringList words = step.split(u' ');
            if (words[0] == QLatin1String("rename"))
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
            QVERIFY(resolved.error.contains(dir.filePath(QStringLiteral("home/Downloads"))));
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

    void creationNeedsAnExistingFolder_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing") << "missing";
        QTest::newRow("a file") << "file.txt";
        QTest::newRow("relative") << "";
    }
    void creationNeedsAnExistingFolder()
    {
        QFETCH(QString, path);
        QTemporaryDir root;
        QVERIFY(makeFile(root.filePath(QStringLiteral("file.txt"))));
        const QString full = path.isEmpty() ? QStringLiteral("relative/folder") : root.filePath(path);
        const BookmarkCreation created = InodeFolderBookmarks().createBookmark(full);
        QVERIFY(!created.data);
        QVERIFY(created.error.contains(full));
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

QTEST_GUILESS_MAIN(TestInodeFolderBookmarks)
#include "tst_inodefolderbookmarks.moc"
