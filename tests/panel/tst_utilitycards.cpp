#include "fakes/FakeClipboard.h"
#include "fakes/FakeColorSampler.h"
#include "fakes/FakeDragSessions.h"
#include "fakes/FakeFileOpener.h"
#include "fakes/FakeFolderBookmarks.h"
#include "fakes/FakeFolderChooser.h"
#include "fakes/FakeFolderLister.h"
#include "fakes/FakeHapticFeedback.h"
#include "fakes/FakeNotchServices.h"
#include "fakes/InlineWorkQueue.h"
#include "panel/ClipboardCardModel.h"
#include "panel/ColorPickerModel.h"
#include "panel/RecentFilesCardModel.h"
#include "panel/ScratchpadNote.h"
#include "sources/ClipboardManager.h"
#include "sources/RecentFilesManager.h"

#include <QSignalSpy>
#include <QTest>

using namespace talvo;
using namespace std::chrono_literals;

namespace {

const QString kColorsKey = QStringLiteral("RecentPickedColors");
const QUrl kFile = QUrl::fromLocalFile(QStringLiteral("/home/u/Downloads/report.pdf"));

// The utility cards' models on faked services; time stands still until moved.
struct Cards : FakeShelfServices
{
    explicit Cards(QJsonObject prefs = {}) : FakeShelfServices(std::move(prefs)) {}

    FakeClipboard clipboard;
    FakeHapticFeedback haptics;
    FakeColorSampler sampler;
    FakeDragSessions drags;
    InlineWorkQueue queue;
    FakeFolderChooser chooser;
    FakeFolderBookmarks bookmarks;
    FakeFolderLister lister;
    FakeFileOpener opener;
    InlineWorkQueue packing;
    ClipboardManager clipboardManager{clipboard, scheduler, packing};
    RecentFilesManager recentFiles{preferences, scheduler, queue, chooser, bookmarks, lister, opener};
    ColorPickerModel picker{preferences, clipboard, sounds, haptics, scheduler, sampler, &vm};
    ClipboardCardModel clipboardCard{clipboardManager, sounds, haptics, scheduler};
    RecentFilesCardModel recentFilesCard{recentFiles, drags, types, scheduler};
};

} // namespace

class TestUtilityCards : public QObject
{
    Q_OBJECT
private slots:
    void hexParsing_data()
    {
        QTest::addColumn<QString>("hex");
        QTest::addColumn<QColor>("color");
        QTest::newRow("6 digits") << "#3070C0" << QColor(0x30, 0x70, 0xc0);
        QTest::newRow("3 digits") << "#F80" << QColor(0xff, 0x88, 0x00);
        QTest::newRow("8 digits: alpha first") << "#80FF0000" << QColor(0xff, 0, 0, 0x80);
        QTest::newRow("blanks and symbols at the ends") << "  ##a1b2c3;\n" << QColor(0xa1, 0xb2, 0xc3);
        QTest::newRow("no hash") << "ffffff" << QColor(Qt::white);
        QTest::newRow("unreadable 6") << "#GG0000" << QColor(Qt::black);
        QTest::newRow("5 digits") << "#12345" << QColor(Qt::black);
        QTest::newRow("empty") << "" << QColor(Qt::black);
        QTest::newRow("symbol inside stays") << "#12-456" << QColor(Qt::black);
    }
    void hexParsing()
    {
        QFETCH(QString, hex);
        QFETCH(QColor, color);
        QCOMPARE(ColorPickerModel::parseHex(hex).rgba(), color.rgba());
    }

    void pickList_data()
    {
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QColor>("picked");
        QTest::addColumn<QStringList>("expected");
        const QStringList five{"#111111", "#222222", "#333333", "#444444", "#555555"};
        QTest::newRow("first pick") << QStringList{} << QColor(0x30, 0x70, 0xc0) << QStringList{"#3070C0"};
        QTest::newRow("known colour moves to the front")
            << five << QColor(0x33, 0x33, 0x33) << QStringList{"#333333", "#111111", "#222222", "#444444", "#555555"};
        QTest::newRow("sixth drops the oldest")
            << five << QColor(0x66, 0x66, 0x66) << QStringList{"#666666", "#111111", "#222222", "#333333", "#444444"};
        QTest::newRow("a longer list shrinks to five")
            << (five + QStringList{"#777777", "#888888"}) << QColor(0x99, 0x99, 0x99)
            << QStringList{"#999999", "#111111", "#222222", "#333333", "#444444"};
        QTest::newRow("fractions round") << QStringList{} << QColor::fromRgbF(0.5f, 0.2f, 1.0f)
                                         << QStringList{"#8033FF"};
    }
    void pickList()
    {
        QFETCH(QStringList, stored);
        QFETCH(QColor, picked);
        QFETCH(QStringList, expected);
        Cards f;
        if (!stored.isEmpty())
            f.preferences.setObject(stored, kColorsKey);

        f.picker.sample();
        QVERIFY(f.vm.isForcedOpen());
        f.sampler.answer(picked);
        QVERIFY(!f.vm.isForcedOpen());
        QCOMPARE(f.preferences.stringArrayForKey(kColorsKey), expected);
        QCOMPARE(f.picker.swatches(), expected.mid(0, 5));
        QCOMPARE(f.clipboard.string(), expected.first());
        QCOMPARE(f.picker.justCopiedColor(), expected.first());
        QCOMPARE(f.sounds.played, QStringList{"Glass"});
    }

    void cancelledSamplingChangesNothing()
    {
        Cards f;
        f.vm.setIsForcedOpen(true); // held open by someone else: stays so
        f.picker.sample();
        f.sampler.answer(std::nullopt);
        QVERIFY(f.vm.isForcedOpen());
        QVERIFY(!f.picker.hasStoredColors());
        QCOMPARE(f.clipboard.string(), std::nullopt);
    }

    void resetBringsBackThePalette_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("showsReset");
        QTest::addColumn<QString>("label");
        QTest::newRow("nothing stored") << QVariant() << false << "PALETTE";
        QTest::newRow("picked colours") << QVariant(QStringList{"#3070C0"}) << true << "RECENT PICKED";
        QTest::newRow("empty list stored") << QVariant(QStringList{}) << false << "RECENT PICKED";
    }
    void resetBringsBackThePalette()
    {
        QFETCH(QVariant, stored);
        QFETCH(bool, showsReset);
        QFETCH(QString, label);
        Cards f;
        f.preferences.setObject(stored, kColorsKey);
        QCOMPARE(f.picker.showsReset(), showsReset);
        QCOMPARE(f.picker.listLabel(), label);

        QSignalSpy changed(&f.picker, &ColorPickerModel::colorsChanged);
        f.picker.reset();
        QVERIFY(!f.preferences.contains(kColorsKey));
        QCOMPARE(f.picker.swatches(), ColorPickerModel::defaultPalette());
        QCOMPARE(f.picker.listLabel(), QStringLiteral("PALETTE"));
        QVERIFY(!f.picker.showsReset());
        QCOMPARE(changed.isEmpty(), !stored.isValid());
    }

    void copiedStateLastsAfterTheLatestClick()
    {
        Cards f;
        f.picker.copy(QStringLiteral("#FF9500"));
        f.scheduler.advance(1000);
        f.picker.copy(QStringLiteral("#FF9500"));
        f.scheduler.advance(1199);
        QCOMPARE(f.picker.justCopiedColor(), QStringLiteral("#FF9500"));
        f.scheduler.advance(1);
        QCOMPARE(f.picker.justCopiedColor(), QString());

        // Another colour takes over; the first one's wait does not clear it.
        f.picker.copy(QStringLiteral("#FF2D55"));
        f.scheduler.advance(600);
        f.picker.copy(QStringLiteral("#4CD964"));
        f.scheduler.advance(700);
        QCOMPARE(f.picker.justCopiedColor(), QStringLiteral("#4CD964"));
        QCOMPARE(f.clipboard.string(), QStringLiteral("#4CD964"));
        QCOMPARE(f.haptics.performed, 4);
    }

    void clipboardTitles_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("label");
        QTest::newRow("text") << "text" << "  hello\n" << "hello" << "TEXT";
        QTest::newRow("blank text") << "text" << " \n\t " << "Text" << "TEXT";
        QTest::newRow("link: host") << "link" << "https://example.org/a?b" << "example.org" << "LINK";
        QTest::newRow("link: not a URL") << "link" << "not a url" << "not a url" << "LINK";
        QTest::newRow("empty link") << "link" << "" << "Link" << "LINK";
        QTest::newRow("image") << "image" << "" << "Copied Image" << "IMAGE";
        QTest::newRow("colour") << "color" << "#3070C0" << "#3070C0" << "COLOR";
        QTest::newRow("empty colour") << "color" << "" << "Color" << "COLOR";
    }
    void clipboardTitles()
    {
        QFETCH(QString, type);
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(QString, label);
        QCOMPARE(ClipboardCardModel::title(type, text), title);
        QCOMPARE(ClipboardCardModel::kindLabel(type), label);
    }

    void clipboardCardPollsWhileShownAndCopiesBack()
    {
        Cards f;
        f.clipboardCard.cardShown();
        f.clipboardCard.cardShown(); // the same card twice in the order
        f.clipboard.setString(QStringLiteral("first"));
        f.scheduler.advance(ClipboardManager::pollInterval);
        QCOMPARE(f.clipboardManager.history().size(), 1);
        f.clipboardCard.cardHidden();
        f.clipboard.setString(QStringLiteral("second"));
        f.scheduler.advance(ClipboardManager::pollInterval);
        QCOMPARE(f.clipboardManager.history().size(), 2);
        f.clipboardCard.cardHidden();
        f.clipboard.setString(QStringLiteral("unseen"));
        f.scheduler.advance(10 * ClipboardManager::pollInterval);
        QCOMPARE(f.clipboardManager.history().size(), 2);

        const QString id = f.clipboardManager.history().last().id.toString(QUuid::WithoutBraces);
        f.clipboardCard.copyBack(id);
        QCOMPARE(f.clipboard.string(), QStringLiteral("first"));
        QCOMPARE(f.sounds.played, QStringList{"Glass"});
        QCOMPARE(f.clipboardCard.justCopiedIds(), QStringList{id});
        f.scheduler.advance(999);
        QCOMPARE(f.clipboardCard.justCopiedIds(), QStringList{id});
        f.scheduler.advance(1);
        QVERIFY(f.clipboardCard.justCopiedIds().isEmpty());
    }

    void detailLine_data()
    {
        QTest::addColumn<std::optional<RecentFilesCardModel::FileFacts>>("facts");
        QTest::addColumn<QString>("detail");
        using Facts = RecentFilesCardModel::FileFacts;
        const QDateTime now(QDate(2026, 3, 10), QTime(12, 0));
        const auto facts = [now](qint64 size, qint64 ago) { return std::optional(Facts{size, now.addSecs(-ago)}); };
        QTest::newRow("unreadable") << std::optional<Facts>() << "FILE";
        QTest::newRow("bytes, seconds") << facts(532, 30) << "532 bytes \u2022 30 SEC AGO";
        QTest::newRow("one byte, now") << facts(1, 0) << "1 byte \u2022 NOW";
        QTest::newRow("kB, minutes") << facts(1234, 300) << "1.2 kB \u2022 5 MIN AGO";
        QTest::newRow("MB, hours") << facts(5'600'000, 7300) << "5.6 MB \u2022 2 HR AGO";
        QTest::newRow("one day") << facts(0, 86400) << "0 bytes \u2022 1 DAY AGO";
        QTest::newRow("days") << facts(0, 3 * 86400) << "0 bytes \u2022 3 DAYS AGO";
        QTest::newRow("future") << facts(0, -120) << "0 bytes \u2022 IN 2 MIN";
        QTest::newRow("no date: now") << std::optional(Facts{10, {}}) << "10 bytes \u2022 NOW";
    }
    void detailLine()
    {
        QFETCH(std::optional<RecentFilesCardModel::FileFacts>, facts);
        QFETCH(QString, detail);
        const QDateTime now(QDate(2026, 3, 10), QTime(12, 0));
        QCOMPARE(RecentFilesCardModel::detailLine(facts, now), detail);
    }

    void rowPressDragAndRelease_data()
    {
        QTest::addColumn<QPointF>("moveTo");
        QTest::addColumn<bool>("drags");
        QTest::newRow("no move: opens") << QPointF(10, 10) << false;
        QTest::newRow("exactly 5: opens") << QPointF(13, 14) << false;
        QTest::newRow("5.1: drags") << QPointF(15.1, 10) << true;
        QTest::newRow("far: drags") << QPointF(60, 40) << true;
    }
    void rowPressDragAndRelease()
    {
        QFETCH(QPointF, moveTo);
        QFETCH(bool, drags);
        Cards f;
        f.recentFilesCard.press(kFile, 10, 10);
        QCOMPARE(f.recentFilesCard.move(moveTo.x(), moveTo.y()), drags);
        if (drags)
            QVERIFY(!f.recentFilesCard.move(moveTo.x() + 20, moveTo.y())); // one drag per press
        f.recentFilesCard.release();

        QCOMPARE(f.drags.sessions.size(), drags ? 1 : 0);
        QCOMPARE(f.opener.opened, drags ? QList<QUrl>{} : QList<QUrl>{kFile});
        if (drags) {
            const DragSessions::Request &request = f.drags.sessions.first()->request;
            QCOMPARE(request.data->urls(), QList<QUrl>{kFile});
            QCOMPARE(request.allowedActions, Qt::DropActions(Qt::CopyAction));
        }
        // A release without a press opens nothing.
        f.recentFilesCard.release();
        QCOMPARE(f.opener.opened.size(), drags ? 0 : 1);
    }

    void scratchpadCoalescesWrites()
    {
        Cards f;
        ScratchpadNote note(f.preferences, f.scheduler, f.sounds, f.haptics);
        QSignalSpy writes(&f.preferences, &Preferences::changed);
        const QString typed = QStringLiteral("call Anna at 5");
        for (qsizetype i = 1; i <= typed.size(); ++i) {
            note.setText(typed.left(i));
            f.scheduler.advance(40); // fast typing
        }
        // 14 keystrokes over 560 ms: one write per 300 ms at most.
        QCOMPARE(writes.size(), 1);
        f.scheduler.advance(ScratchpadNote::kWriteDelay);
        QCOMPARE(writes.size(), 2);
        QCOMPARE(f.preferences.stringForKey(QStringLiteral("scratchpadText")), typed);
        f.scheduler.advance(10'000);
        QCOMPARE(writes.size(), 2);
    }

    void scratchpadFlushes_data()
    {
        QTest::addColumn<bool>("byDestruction");
        QTest::newRow("panel closes (flush)") << false;
        QTest::newRow("quit (destruction)") << true;
    }
    void scratchpadFlushes()
    {
        QFETCH(bool, byDestruction);
        Cards f;
        {
            ScratchpadNote note(f.preferences, f.scheduler, f.sounds, f.haptics);
            note.setText(QStringLiteral("half a thou"));
            f.scheduler.advance(100);
            note.setText(QStringLiteral("half a thought"));
            if (!byDestruction) {
                note.flush();
                QVERIFY(!note.hasPendingWrite());
            }
        }
        QCOMPARE(f.preferences.stringForKey(QStringLiteral("scratchpadText")), QStringLiteral("half a thought"));
        // A restart shows the note again.
        ScratchpadNote again(f.preferences, f.scheduler, f.sounds, f.haptics);
        QCOMPARE(again.text(), QStringLiteral("half a thought"));
        again.clear();
        QCOMPARE(f.preferences.stringForKey(QStringLiteral("scratchpadText"), QStringLiteral("x")), QString());
        QCOMPARE(f.sounds.played, QStringList{"Glass"});
    }

    void scratchpadTypingWinsOverAnOutsideEdit()
    {
        Cards f;
        ScratchpadNote note(f.preferences, f.scheduler, f.sounds, f.haptics);
        f.preferences.setObject(QStringLiteral("from elsewhere"), QStringLiteral("scratchpadText"));
        QCOMPARE(note.text(), QStringLiteral("from elsewhere"));
        note.setText(QStringLiteral("mine"));
        f.preferences.setObject(QStringLiteral("stale"), QStringLiteral("scratchpadText"));
        QCOMPARE(note.text(), QStringLiteral("mine"));
        f.scheduler.advance(ScratchpadNote::kWriteDelay);
        QCOMPARE(f.preferences.stringForKey(QStringLiteral("scratchpadText")), QStringLiteral("mine"));
    }
};

QTEST_MAIN(TestUtilityCards)
#include "tst_utilitycards.moc"
