#include "fakes/FakeClipboard.h"
#include "fakes/InlineWorkQueue.h"
#include "fakes/VirtualScheduler.h"
#include "sources/ClipboardManager.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

using namespace talvo;
using namespace Qt::StringLiterals;

namespace {

QImage filledImage(int width, int height, Qt::GlobalColor color = Qt::red)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

// A screenshot-sized picture (above the packing threshold) with content
// that a lossy round trip would change.
QImage largePicture(int seed = 0)
{
    QImage image(1200, 1000, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = qRgba((x + seed) & 0xff, y & 0xff, (x ^ y) & 0xff, 0xff - (x & 0x3f));
    }
    image.setDevicePixelRatio(2);
    return image;
}

QStringList texts(const QList<ClipboardItem> &items)
{
    QStringList result;
    for (const auto &item : items)
        result << item.text.value_or(u"<image>"_s);
    return result;
}

struct Fixture
{
    FakeClipboard clipboard;
    VirtualScheduler scheduler;
    InlineWorkQueue packing;
    ClipboardManager manager{clipboard, scheduler, packing};

    // Another program copies: "img:40x30" (optionally "@2" for double density
    // and "+caption" for a text form), "secret:..." as a password manager
    // does, else the text. Then the next poll and the deferred insertion run.
    void copy(const QString &what)
    {
        static const QRegularExpression image(u"^img:(\\d+)x(\\d+)(@2)?(\\+(.*))?$"_s);
        if (const auto m = image.match(what); m.hasMatch()) {
            QImage picture = filledImage(m.captured(1).toInt(), m.captured(2).toInt());
            picture.setDevicePixelRatio(m.hasCaptured(3) ? 2 : 1);
            clipboard.copyImage(picture, m.hasCaptured(5) ? std::optional(m.captured(5)) : std::nullopt);
        } else if (what.startsWith(u"secret:")) {
            clipboard.copySecret(what.mid(7));
        } else {
            clipboard.copyText(what);
        }
        scheduler.advance(ClipboardManager::pollInterval);
    }
};

} // namespace

class TestClipboardManager : public QObject
{
    Q_OBJECT
private slots:
    void copiesBecomeEntries_data()
    {
        QTest::addColumn<QStringList>("copies");
        QTest::addColumn<QStringList>("expected"); // newest first
        QTest::newRow("same text twice") << QStringList{"A", "A"} << QStringList{"A"};
        QTest::newRow("A B A") << QStringList{"A", "B", "A"} << QStringList{"A", "B", "A"};
        QTest::newRow("blanks only") << QStringList{"  \n\t \r\n "} << QStringList{};
        QTest::newRow("repeat after trimming") << QStringList{" word ", "\nword  "} << QStringList{"word"};
        QTest::newRow("password manager's secret") << QStringList{"A", "secret:hunter2", "B"} << QStringList{"B", "A"};
        QTest::newRow("image wins over its text") << QStringList{"img:5x5+picture.png"} << QStringList{"<image>"};
        QTest::newRow("equal image size, other content") << QStringList{"img:40x30", "img:40x30"} << QStringList{"<image>"};
        QTest::newRow("other image size") << QStringList{"img:40x30", "img:30x40"} << QStringList{"<image>", "<image>"};
        QTest::newRow("same size, not in a row")
            << QStringList{"img:40x30", "img:8x8", "img:40x30"} << QStringList{"<image>", "<image>", "<image>"};
        // Sizes compare in logical pixels, as the user sees them.
        QTest::newRow("same logical size at double density") << QStringList{"img:40x30", "img:80x60@2"}
                                                             << QStringList{"<image>"};
    }
    void copiesBecomeEntries()
    {
        QFETCH(QStringList, copies);
        Fixture f;
        f.manager.startMonitoring();
        for (const QString &copy : copies)
            f.copy(copy);
        QTEST(texts(f.manager.history()), "expected");
    }

    void textsAreClassified_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("type");
        QTest::newRow("plain") << "hello" << "text";
        QTest::newRow("http") << "http://example.org" << "link";
        QTest::newRow("upper-case scheme") << "HTTP://example.org" << "text";
        QTest::newRow("scheme only, no slashes") << "http:example.org" << "text";
        QTest::newRow("3 digits") << "#abc" << "color";
        QTest::newRow("6 digits") << "#A1b2C3" << "color";
        QTest::newRow("8 digits") << "#0099ffCC" << "color";
        QTest::newRow("trimmed colour") << "\n #fff \n" << "color";
        QTest::newRow("4 digits") << "#abcd" << "text";
        QTest::newRow("5 digits") << "#12345" << "text";
        QTest::newRow("letter beyond F") << "#12345G" << "text";
        QTest::newRow("full-width digits") << u"#\uFF11\uFF12\uFF13"_s << "text";
    }
    void textsAreClassified()
    {
        QFETCH(QString, text);
        Fixture f;
        f.manager.startMonitoring();
        f.copy(text);
        QCOMPARE(f.manager.history().size(), 1);
        QTEST(rawValue(f.manager.history().first().type), "type");
    }

    void sixteenthCopyDropsTheOldest()
    {
        Fixture f;
        QSignalSpy removed(f.manager.historyModel(), &QAbstractItemModel::rowsRemoved);
        f.manager.startMonitoring();
        QStringList expected;
        for (int i = 1; i <= 16; ++i) {
            f.copy(u"copy %1"_s.arg(i));
            expected.prepend(u"copy %1"_s.arg(i));
        }
        expected.removeLast();
        QCOMPARE(texts(f.manager.history()), expected);
        QCOMPARE(f.manager.historyModel()->rowCount(), 15);
        QCOMPARE(removed.size(), 1);
    }

    void copyingBackNeitherAddsNorMoves()
    {
        Fixture f;
        f.manager.startMonitoring();
        f.copy(u"img:10x10"_s);
        f.copy(u"A"_s);
        f.copy(u"B"_s);
        QSignalSpy changed(&f.manager, &ClipboardManager::historyChanged);

        f.manager.copyToPasteboard(f.manager.history().at(1));
        QCOMPARE(f.clipboard.text(), u"A"_s);
        f.scheduler.advance(5 * ClipboardManager::pollInterval.count());
        // Views pass the id.
        f.manager.copyToPasteboard(f.manager.history().at(2).id.toString());
        QCOMPARE(f.clipboard.currentImage(), filledImage(10, 10));
        f.scheduler.advance(5 * ClipboardManager::pollInterval.count());

        QCOMPARE(texts(f.manager.history()), (QStringList{"B", "A", "<image>"}));
        QCOMPARE(changed.size(), 0);
        // The next real copy is still seen.
        f.copy(u"C"_s);
        QCOMPARE(texts(f.manager.history()), (QStringList{"C", "B", "A", "<image>"}));
    }

    // A large picture keeps only a preview of the same logical size in
    // memory, and copying it back gives the whole picture again.
    void largePicturesArePackedAndComeBackWhole()
    {
        Fixture f;
        f.manager.startMonitoring();
        const QImage picture = largePicture();
        QVERIFY(picture.sizeInBytes() > ClipboardManager::packAboveBytes);
        f.copy(u"img:40x30"_s);
        f.clipboard.copyImage(picture);
        f.scheduler.advance(ClipboardManager::pollInterval);
        f.scheduler.runPending();

        const ClipboardItem packed = f.manager.history().at(0);
        QVERIFY(!packed.packedImage.isEmpty());
        QCOMPARE(qMax(packed.image->width(), packed.image->height()), ClipboardManager::previewSide);
        QCOMPARE(packed.image->deviceIndependentSize().width(), 600.0);
        QVERIFY(f.manager.history().at(1).packedImage.isEmpty()); // small pictures stay as they are
        // Another picture of the same size is still a repeat.
        f.clipboard.copyImage(largePicture(1));
        f.scheduler.advance(ClipboardManager::pollInterval);
        QCOMPARE(f.manager.history().size(), 2);

        f.manager.copyToPasteboard(packed.id.toString());
        const QImage back = f.clipboard.currentImage();
        QCOMPARE(back.devicePixelRatio(), 2.0);
        QCOMPARE(back.convertToFormat(QImage::Format_ARGB32), picture);
    }

    // An entry cleared while its picture is being packed stays gone.
    void packingAfterClearingChangesNothing()
    {
        Fixture f;
        f.manager.startMonitoring();
        f.packing.holdWork(true);
        f.clipboard.copyImage(largePicture());
        f.scheduler.advance(ClipboardManager::pollInterval);
        QCOMPARE(f.packing.heldCount(), 1);
        f.manager.clearHistory();
        f.scheduler.runPending();
        f.packing.runAllHeld();
        f.scheduler.runPending();
        QVERIFY(f.manager.history().isEmpty());
    }

    void contentFromBeforeCreationNeverShows()
    {
        FakeClipboard clipboard;
        VirtualScheduler scheduler;
        clipboard.copyText(u"old secret"_s);
        InlineWorkQueue packing;
        ClipboardManager manager(clipboard, scheduler, packing);
        manager.startMonitoring();
        scheduler.advance(10 * ClipboardManager::pollInterval.count());
        QVERIFY(manager.history().isEmpty());
    }

    void pollingReadsContentOnlyAfterAChange()
    {
        Fixture f;
        f.manager.startMonitoring();
        f.manager.startMonitoring(); // a second call adds no timer
        QCOMPARE(f.scheduler.pendingCount(), 1);
        f.scheduler.advance(20 * ClipboardManager::pollInterval.count());
        QCOMPARE(f.clipboard.contentReads, 0);
        f.clipboard.copyText(u"x"_s);
        f.scheduler.advance(ClipboardManager::pollInterval.count() - 1);
        QCOMPARE(f.clipboard.contentReads, 0);
        f.scheduler.advance(1);
        QCOMPARE(f.clipboard.contentReads, 2); // image first, then text
    }

    void historyChangesOnATurnOfItsOwn()
    {
        Fixture f;
        QSignalSpy changed(&f.manager, &ClipboardManager::historyChanged);
        f.clipboard.copyText(u"A"_s);
        f.manager.checkPasteboard();
        QVERIFY(f.manager.history().isEmpty());
        f.scheduler.runPending();
        QCOMPARE(changed.size(), 1);
        QCOMPARE(f.manager.historyModel()->rowCount(), 1);
    }

    void clearingEmptiesOnceAndOnlyWhenNeeded()
    {
        Fixture f;
        f.manager.startMonitoring();
        f.copy(u"A"_s);
        f.copy(u"B"_s);
        QSignalSpy changed(&f.manager, &ClipboardManager::historyChanged);
        f.manager.clearHistory();
        QCOMPARE(f.manager.history().size(), 2); // on the next turn
        f.scheduler.runPending();
        QVERIFY(f.manager.history().isEmpty());
        f.manager.clearHistory();
        f.scheduler.runPending();
        QCOMPARE(changed.size(), 1);
        // After clearing, the former newest text is new again.
        f.copy(u"B"_s);
        QCOMPARE(texts(f.manager.history()), QStringList{"B"});
    }
};

QTEST_GUILESS_MAIN(TestClipboardManager)
#include "tst_clipboardmanager.moc"
