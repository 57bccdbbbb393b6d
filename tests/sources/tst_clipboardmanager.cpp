#include "fakes/FakePasteboard.h"
#include "fakes/VirtualScheduler.h"
#include "sources/ClipboardManager.h"

#include <QSignalSpy>
#include <QTest>

using namespace talvo;

namespace {

QImage filledImage(int width, int height, Qt::GlobalColor color)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

QStringList texts(const QList<ClipboardItem> &items)
{
    QStringList result;
    for (const auto &item : items)
        result << item.text.value_or(QStringLiteral("<image>"));
    return result;
}

struct Fixture
{
    FakePasteboard pasteboard;
    VirtualScheduler scheduler;
    ClipboardManager manager{pasteboard, scheduler};

    // Another program copies; the next poll and the deferred insertion run.
    void copy(const QString &text)
    {
        pasteboard.copyText(text);
        scheduler.advance(ClipboardManager::pollInterval);
    }
    void copy(const QImage &image)
    {
        pasteboard.copyImage(image);
        scheduler.advance(ClipboardManager::pollInterval);
    }
};

} // namespace

class TestClipboardManager : public QObject
{
    Q_OBJECT
private slots:
    void copiedTextsBecomeEntries_data()
    {
        QTest::addColumn<QStringList>("copies");
        QTest::addColumn<QStringList>("expected"); // newest first
        QTest::newRow("same text twice") << QStringList{"A", "A"} << QStringList{"A"};
        QTest::newRow("A B A") << QStringList{"A", "B", "A"} << QStringList{"A", "B", "A"};
        QTest::newRow("blanks only") << QStringList{"  \n\t \r\n "} << QStringList{};
        QTest::newRow("trimmed") << QStringList{" word "} << QStringList{"word"};
        QTest::newRow("repeat after trimming") << QStringList{"word", "\nword  "} << QStringList{"word"};
        QTest::newRow("case matters") << QStringList{"word", "Word"} << QStringList{"Word", "word"};
    }
    void copiedTextsBecomeEntries()
    {
        QFETCH(QStringList, copies);
        QFETCH(QStringList, expected);
        Fixture f;
        f.manager.startMonitoring();
        for (const QString &text : copies)
            f.copy(text);
        QCOMPARE(texts(f.manager.history()), expected);
    }

    void textsAreClassified_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("type");
        QTest::newRow("plain") << "hello" << "text";
        QTest::newRow("http") << "http://example.org" << "link";
        QTest::newRow("https") << "https://example.org/a?b" << "link";
        QTest::newRow("upper-case scheme") << "HTTP://example.org" << "text";
        QTest::newRow("scheme only, no slashes") << "http:example.org" << "text";
        QTest::newRow("3 digits") << "#abc" << "color";
        QTest::newRow("6 digits") << "#A1b2C3" << "color";
        QTest::newRow("8 digits") << "#0099ffCC" << "color";
        QTest::newRow("trimmed colour") << "\n #fff \n" << "color";
        QTest::newRow("4 digits") << "#abcd" << "text";
        QTest::newRow("5 digits") << "#12345" << "text";
        QTest::newRow("letter beyond F") << "#12345G" << "text";
        QTest::newRow("hash only") << "#" << "text";
        QTest::newRow("no hash") << "abcdef" << "text";
        QTest::newRow("full-width digits") << QString::fromUtf8("#\uFF11\uFF12\uFF13") << "text";
    }
    void textsAreClassified()
    {
        QFETCH(QString, text);
        QFETCH(QString, type);
        Fixture f;
        f.manager.startMonitoring();
        f.copy(text);
        QCOMPARE(f.manager.history().size(), 1);
        QCOMPARE(rawValue(f.manager.history().first().type), type);
    }

    void sixteenthCopyDropsTheOldest()
    {
        Fixture f;
        QSignalSpy removed(f.manager.historyModel(), &QAbstractItemModel::rowsRemoved);
        f.manager.startMonitoring();
        QStringList expected;
        for (int i = 1; i <= 16; ++i) {
            f.copy(QStringLiteral("copy %1").arg(i));
            expected.prepend(QStringLiteral("copy %1").arg(i));
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
        f.copy(filledImage(10, 10, Qt::red));
        f.copy(QStringLiteral("A"));
        f.copy(QStringLiteral("B"));
        QSignalSpy changed(&f.manager, &ClipboardManager::historyChanged);

        const ClipboardItem oldestText = f.manager.history().at(1);
        f.manager.copyToPasteboard(oldestText);
        QCOMPARE(f.pasteboard.text(), QStringLiteral("A"));
        f.scheduler.advance(5 * ClipboardManager::pollInterval.count());

        // Views pass the id.
        f.manager.copyToPasteboard(f.manager.history().at(2).id.toString());
        QCOMPARE(f.pasteboard.currentImage(), filledImage(10, 10, Qt::red));
        QVERIFY(!f.pasteboard.text());
        f.scheduler.advance(5 * ClipboardManager::pollInterval.count());

        QCOMPARE(texts(f.manager.history()), (QStringList{"B", "A", "<image>"}));
        QCOMPARE(changed.size(), 0);

        // The next real copy is still seen.
        f.copy(QStringLiteral("C"));
        QCOMPARE(texts(f.manager.history()), (QStringList{"C", "B", "A", "<image>"}));
    }

    void imagesOfEqualSizeCountAsRepeats_data()
    {
        QTest::addColumn<QList<QImage>>("images");
        QTest::addColumn<int>("entries");
        QTest::newRow("equal size, other content") << QList<QImage>{filledImage(40, 30, Qt::red), filledImage(40, 30, Qt::blue)} << 1;
        QTest::newRow("other size") << QList<QImage>{filledImage(40, 30, Qt::red), filledImage(30, 40, Qt::red)} << 2;
        QTest::newRow("same size, not in a row") << QList<QImage>{filledImage(40, 30, Qt::red), filledImage(8, 8, Qt::red), filledImage(40, 30, Qt::red)} << 3;
        QImage retina = filledImage(80, 60, Qt::green);
        retina.setDevicePixelRatio(2);
        // Sizes compare in logical pixels, as the user sees them.
        QTest::newRow("same logical size at double density") << QList<QImage>{filledImage(40, 30, Qt::red), retina} << 1;
    }
    void imagesOfEqualSizeCountAsRepeats()
    {
        QFETCH(QList<QImage>, images);
        QFETCH(int, entries);
        Fixture f;
        f.manager.startMonitoring();
        for (const QImage &image : images)
            f.copy(image);
        QCOMPARE(f.manager.history().size(), entries);
        for (const auto &item : f.manager.history()) {
            QCOMPARE(item.type, ClipboardType::image);
            QVERIFY(!item.text);
        }
    }

    void imageAfterTextOfAnyKindIsRecorded()
    {
        Fixture f;
        f.manager.startMonitoring();
        f.copy(filledImage(4, 4, Qt::red));
        f.copy(QStringLiteral("text"));
        f.copy(filledImage(4, 4, Qt::red));
        QCOMPARE(texts(f.manager.history()), (QStringList{"<image>", "text", "<image>"}));
    }

    void imageWinsOverText()
    {
        Fixture f;
        f.manager.startMonitoring();
        f.pasteboard.copyImage(filledImage(5, 5, Qt::red), QStringLiteral("picture.png"));
        f.scheduler.advance(ClipboardManager::pollInterval);
        QCOMPARE(texts(f.manager.history()), QStringList{"<image>"});
    }

    void secretsFromPasswordManagersAreNotKept()
    {
        Fixture f;
        f.manager.startMonitoring();
        f.copy(QStringLiteral("A"));
        f.pasteboard.copySecret(QStringLiteral("hunter2"));
        f.scheduler.advance(ClipboardManager::pollInterval);
        f.copy(QStringLiteral("B"));
        QCOMPARE(texts(f.manager.history()), (QStringList{"B", "A"}));
    }

    void contentFromBeforeCreationNeverShows()
    {
        FakePasteboard pasteboard;
        VirtualScheduler scheduler;
        pasteboard.copyText(QStringLiteral("old secret"));
        ClipboardManager manager(pasteboard, scheduler);
        manager.startMonitoring();
        scheduler.advance(10 * ClipboardManager::pollInterval.count());
        QVERIFY(manager.history().isEmpty());
        pasteboard.copyText(QStringLiteral("new"));
        scheduler.advance(ClipboardManager::pollInterval);
        QCOMPARE(texts(manager.history()), QStringList{"new"});
    }

    void pollingReadsContentOnlyAfterAChange()
    {
        Fixture f;
        f.manager.startMonitoring();
        f.manager.startMonitoring(); // a second call adds no timer
        QCOMPARE(f.scheduler.pendingCount(), 1);
        f.scheduler.advance(20 * ClipboardManager::pollInterval.count());
        QCOMPARE(f.pasteboard.contentReads, 0);
        f.pasteboard.copyText(QStringLiteral("x"));
        f.scheduler.advance(ClipboardManager::pollInterval.count() - 1);
        QCOMPARE(f.pasteboard.contentReads, 0);
        f.scheduler.advance(1);
        QCOMPARE(f.pasteboard.contentReads, 2); // image first, then text
        QCOMPARE(f.manager.lastChangeCount(), f.pasteboard.changeCount());
    }

    void historyChangesOnATurnOfItsOwn()
    {
        Fixture f;
        QSignalSpy changed(&f.manager, &ClipboardManager::historyChanged);
        f.pasteboard.copyText(QStringLiteral("A"));
        f.manager.checkPasteboard();
        QCOMPARE(changed.size(), 0);
        QVERIFY(f.manager.history().isEmpty());
        f.scheduler.runPending();
        QCOMPARE(changed.size(), 1);
        QCOMPARE(f.manager.historyModel()->rowCount(), 1);
    }

    void clearingEmptiesOnceAndOnlyWhenNeeded()
    {
        Fixture f;
        f.manager.startMonitoring();
        f.copy(QStringLiteral("A"));
        f.copy(QStringLiteral("B"));
        QSignalSpy changed(&f.manager, &ClipboardManager::historyChanged);
        QSignalSpy reset(f.manager.historyModel(), &QAbstractItemModel::modelReset);
        f.manager.clearHistory();
        QCOMPARE(f.manager.history().size(), 2);
        f.scheduler.runPending();
        QVERIFY(f.manager.history().isEmpty());
        QCOMPARE(changed.size(), 1);
        QCOMPARE(reset.size(), 1);
        f.manager.clearHistory();
        f.scheduler.runPending();
        QCOMPARE(changed.size(), 1);
        // After clearing, the former newest text is new again.
        f.copy(QStringLiteral("B"));
        QCOMPARE(texts(f.manager.history()), QStringList{"B"});
    }

};

QTEST_GUILESS_MAIN(TestClipboardManager)
#include "tst_clipboardmanager.moc"
