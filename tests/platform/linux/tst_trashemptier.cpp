#include "platform/linux/TrashEmptier.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace talvo;
using namespace Qt::Literals::StringLiterals;

namespace {

bool write(const QString &path, const QByteArray &data = "x")
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// A trash folder holding a file, a folder with contents, and their records.
bool fillTrash(const QString &trash)
{
    return write(trash + u"/files/report.pdf"_s) && write(trash + u"/files/album/track 1.ogg"_s)
        && write(trash + u"/files/album/deep/x"_s) && write(trash + u"/info/report.pdf.trashinfo"_s)
        && write(trash + u"/info/album.trashinfo"_s) && write(trash + u"/directorysizes"_s, "12 0 album\n");
}

QStringList contents(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden);
}

} // namespace

// Emptying the trash on real folders: the home trash, volumes' trash folders,
// links that must not be followed, and items that cannot go.
class TestTrashEmptier : public QObject
{
    Q_OBJECT

    static constexpr unsigned int kUid = 1000;

private slots:
    void emptiesTheHomeTrashAndTheVolumes()
    {
        QTemporaryDir dir;
        const QString home = dir.filePath(u"data/Trash"_s);
        const QString volume = dir.filePath(u"media/stick"_s);
        const QString shared = dir.filePath(u"media/disk"_s);
        QVERIFY(fillTrash(home));
        QVERIFY(fillTrash(volume + u"/.Trash-1000"_s));
        // The shared $topdir/.Trash/$uid counts only with the sticky bit.
        QVERIFY(fillTrash(shared + u"/.Trash/1000"_s));
        QVERIFY(::chmod(QFile::encodeName(shared + u"/.Trash"_s).constData(), 01777) == 0);
        QVERIFY(write(volume + u"/.Trash-1001/files/someone-else"_s));

        const TrashEmptier emptier(home, {volume, shared}, kUid);
        QCOMPARE(emptier.trashFolders(), (QStringList{home, volume + u"/.Trash-1000"_s, shared + u"/.Trash/1000"_s}));
        const TrashEmptier::Outcome outcome = emptier.empty();
        QCOMPARE(outcome.removed, 12);
        QCOMPARE(outcome.remaining, 0);
        for (const QString &trash : emptier.trashFolders()) {
            QCOMPARE(contents(trash), (QStringList{u"files"_s, u"info"_s}));
            QVERIFY(contents(trash + u"/files"_s).isEmpty());
            QVERIFY(contents(trash + u"/info"_s).isEmpty());
        }
        QVERIFY(QFile::exists(volume + u"/.Trash-1001/files/someone-else"_s));
    }

    void aSharedTrashWithoutTheStickyBitIsLeftAlone()
    {
        QTemporaryDir dir;
        QVERIFY(fillTrash(dir.filePath(u"disk/.Trash/1000"_s)));
        QVERIFY(::chmod(QFile::encodeName(dir.filePath(u"disk/.Trash"_s)).constData(), 0777) == 0);
        const TrashEmptier emptier(dir.filePath(u"none"_s), {dir.filePath(u"disk"_s)}, kUid);
        QVERIFY(emptier.trashFolders().isEmpty());
        QCOMPARE(emptier.empty().removed, 0);
    }

    void linksAreRemovedNeverFollowed()
    {
        QTemporaryDir dir;
        const QString home = dir.filePath(u"Trash"_s);
        const QString outsideFile = dir.filePath(u"keep/precious.txt"_s);
        const QString outsideFolder = dir.filePath(u"keep/folder"_s);
        QVERIFY(write(outsideFile));
        QVERIFY(write(outsideFolder + u"/inside.txt"_s));
        QVERIFY(QDir().mkpath(home + u"/info"_s));
        QVERIFY(QDir().mkpath(home + u"/files/nested"_s));
        QVERIFY(QFile::link(outsideFile, home + u"/files/link-to-file"_s));
        QVERIFY(QFile::link(outsideFolder, home + u"/files/link-to-folder"_s));
        QVERIFY(QFile::link(outsideFolder, home + u"/files/nested/deeper-link"_s));

        // A trash folder that is itself a link is no trash folder.
        const QString linkedTrash = dir.filePath(u"volume/.Trash-1000"_s);
        QVERIFY(QDir().mkpath(dir.filePath(u"volume"_s)));
        QVERIFY(QFile::link(dir.filePath(u"keep"_s), linkedTrash));

        const TrashEmptier::Outcome outcome = TrashEmptier(home, {dir.filePath(u"volume"_s)}, kUid).empty();
        QCOMPARE(outcome.remaining, 0);
        QVERIFY(contents(home + u"/files"_s).isEmpty());
        QVERIFY(QFile::exists(outsideFile));
        QVERIFY(QFile::exists(outsideFolder + u"/inside.txt"_s));
    }

    void whatCannotBeRemovedStaysAndIsCounted()
    {
        QTemporaryDir dir;
        const QString home = dir.filePath(u"Trash"_s);
        QVERIFY(fillTrash(home));
        const QString stuck = home + u"/files/album/deep/x"_s;
        // An immutable file cannot be removed, not even by root.
        if (QProcess::execute(u"chattr"_s, {u"+i"_s, stuck}) != 0)
            QSKIP("chattr +i is not possible on this file system");
        const TrashEmptier::Outcome outcome = TrashEmptier(home, {}, kUid).empty();
        QProcess::execute(u"chattr"_s, {u"-i"_s, stuck});
        QCOMPARE(outcome.remaining, 1); // "album", holding the stuck file
        QCOMPARE(outcome.removed, 3);
        QVERIFY(!outcome.errors.isEmpty());
        QVERIFY2(outcome.errors.first().contains(u"deep/x"_s), qPrintable(outcome.errors.first()));
        QCOMPARE(contents(home + u"/files"_s), QStringList{u"album"_s});
        QCOMPARE(contents(home + u"/files/album"_s), QStringList{u"deep"_s});
    }
};

QTEST_GUILESS_MAIN(TestTrashEmptier)
#include "tst_trashemptier.moc"
