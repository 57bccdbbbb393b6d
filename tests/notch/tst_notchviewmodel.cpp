#include "fakes/FakeNotchServices.h"

#include <QDir>
#include <QJsonArray>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace talvo;

namespace {

const QString kFavoritesKey = QStringLiteral("TalvoFavoriteApps");

struct Notch : FakeShelfServices
{
    using FakeShelfServices::FakeShelfServices;
    const QList<ShelfItem> &items() const { return vm.itemList(); }
};

QStringList storedFavorites(const MemoryPreferencesStorage &storage)
{
    return storage.stored().value(kFavoritesKey).toVariant().toStringList();
}

void writeFile(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("x");
}

} // namespace

class TestNotchViewModel : public QObject
{
    Q_OBJECT
private slots:
    void loadsFavorites_data()
    {
        QTest::addColumn<QJsonObject>("stored");
        QTest::addColumn<QStringList>("expected");
        const QStringList defaults = FakeApplicationCatalog().defaults;
        const QString a = QStringLiteral("/usr/share/applications/a.desktop");
        QTest::newRow("absent: this desktop's defaults") << QJsonObject() << defaults;
        QTest::newRow("stored list") << QJsonObject{{kFavoritesKey, QJsonArray{a}}} << QStringList{a};
        QTest::newRow("stored empty list stays empty") << QJsonObject{{kFavoritesKey, QJsonArray()}} << QStringList();
        QTest::newRow("list with a number: defaults")
            << QJsonObject{{kFavoritesKey, QJsonArray{a, 3}}} << defaults;
        QTest::newRow("text instead of list: defaults") << QJsonObject{{kFavoritesKey, a}} << defaults;
    }
    void loadsFavorites()
    {
        QFETCH(QJsonObject, stored);
        Notch notch(stored);
        QTEST(notch.vm.favoriteApps(), "expected");
        // Loading writes nothing back.
        QCOMPARE(notch.storage.saveCount, 0);
    }

    void derivedFlags_data()
    {
        QTest::addColumn<QString>("flags"); // hovering expanded itemDrag items fileDrag target greeting
        QTest::addColumn<bool>("draggingOut");
        QTest::addColumn<bool>("panelContent");
        QTest::newRow("open panel") << "hovering expanded items" << false << true;
        QTest::newRow("peek only") << "hovering items" << false << false;
        QTest::newRow("file drag") << "hovering expanded items fileDrag" << false << false;
        QTest::newRow("over the drop area") << "hovering expanded items target" << false << false;
        QTest::newRow("greeting") << "hovering expanded items greeting" << false << false;
        QTest::newRow("item dragged out") << "itemDrag items" << true << false;
        QTest::newRow("item drag, shelf empty") << "itemDrag" << false << false;
        QTest::newRow("item drag and file drag") << "itemDrag items fileDrag" << false << false;
        QTest::newRow("item drag over the drop area") << "itemDrag items target" << false << false;
    }
    void derivedFlags()
    {
        QFETCH(QString, flags);
        QFETCH(bool, draggingOut);
        const QStringList set = flags.split(QLatin1Char(' '));
        Notch notch;
        NotchViewModel &m = notch.vm;
        QSignalSpy spy(&m, &NotchViewModel::isDraggingShelfItemOutChanged);
        if (set.contains(QLatin1String("items"))) {
            m.addItem(ShelfItem::makeText(QStringLiteral("a")));
            notch.scheduler.runPending();
        }
        m.setIsHovering(set.contains(QLatin1String("hovering")));
        m.setIsFullyExpanded(set.contains(QLatin1String("expanded")));
        m.setIsShelfItemDragActive(set.contains(QLatin1String("itemDrag")));
        m.setIsFileDragActive(set.contains(QLatin1String("fileDrag")));
        m.setIsDragTargetActive(set.contains(QLatin1String("target")));
        m.setIsOnboardingGreetingActive(set.contains(QLatin1String("greeting")));
        QCOMPARE(m.isDraggingShelfItemOut(), draggingOut);
        QTEST(m.showsPanelContent(), "panelContent");
        // Announced whenever the value moved, whichever field moved it.
        QCOMPARE(spy.count() % 2, draggingOut ? 1 : 0);
    }

    void collapseResetsTabAndExpansion()
    {
        Notch notch;
        NotchViewModel &m = notch.vm;
        m.setIsHovering(true);
        m.setIsFullyExpanded(true);
        m.setActiveTab(NotchPanelTab::Tray);
        QVERIFY(m.showsPanelContent());
        QSignalSpy panelSpy(&m, &NotchViewModel::showsPanelContentChanged);
        QSignalSpy tabSpy(&m, &NotchViewModel::activeTabChanged);

        m.setIsHovering(false);
        QVERIFY(!m.isFullyExpanded());
        QCOMPARE(m.activeTab(), NotchPanelTab::Home);
        QCOMPARE(panelSpy.count(), 1);
        QCOMPARE(tabSpy.count(), 1);

        // Assigning false again still collapses what was opened meanwhile
        // (a tap on the notch while the pointer is already away).
        m.setIsFullyExpanded(true);
        m.setActiveTab(NotchPanelTab::Shortcuts);
        m.setIsHovering(false);
        QVERIFY(!m.isFullyExpanded());
        QCOMPARE(m.activeTab(), NotchPanelTab::Home);

        // Hovering again keeps the tab the user picks.
        m.setIsHovering(true);
        m.setActiveTab(NotchPanelTab::Tray);
        m.setIsHovering(true);
        QCOMPARE(m.activeTab(), NotchPanelTab::Tray);
    }

    void tabsHaveRawValues_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<int>("tab"); // -1: no tab
        QTest::newRow("home") << QStringLiteral("home") << int(NotchPanelTab::Home);
        QTest::newRow("capitalised") << QStringLiteral("Home") << -1;
        QTest::newRow("empty") << QString() << -1;
    }
    void tabsHaveRawValues()
    {
        QFETCH(QString, raw);
        QFETCH(int, tab);
        const auto parsed = notchPanelTabFromRawValue(raw);
        QCOMPARE(parsed.has_value(), tab >= 0);
        if (parsed) {
            QCOMPARE(int(*parsed), tab);
            QCOMPARE(rawValue(*parsed), raw);
        }
    }

    // --- shelf ---------------------------------------------------------------

    void sameFileTwiceGivesTwoItems()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("notes.txt"));
        writeFile(path);
        Notch notch;
        QSignalSpy itemsSpy(&notch.vm, &NotchViewModel::itemsChanged);

        notch.vm.addItem(ShelfItem::makeFile(QUrl::fromLocalFile(path)));
        notch.vm.addItem(ShelfItem::makeFile(QUrl::fromLocalFile(path)));
        // One pop for the items of one turn (a drop of many).
        QCOMPARE(notch.sounds.played, QStringList({QStringLiteral("Pop")}));
        QCOMPARE(notch.thumbnails.requests.size(), 2);
        notch.thumbnails.answer(0, QImage());
        notch.thumbnails.answer(1, QImage());
        // Never inside the caller's turn.
        QVERIFY(notch.items().isEmpty());
        notch.scheduler.runPending();

        QCOMPARE(notch.items().size(), 2);
        QVERIFY(notch.items()[0].id != notch.items()[1].id);
        for (const ShelfItem &item : notch.items()) {
            QCOMPARE(item.type, ItemType::File);
            QCOMPARE(item.url, QUrl::fromLocalFile(path));
            QVERIFY(!item.text);
            QCOMPARE(item.image, ShelfImage::themeIcon(QStringLiteral("text-plain")));
        }
        QCOMPARE(itemsSpy.count(), 1);
        // A later turn's add pops again.
        notch.vm.addItem(ShelfItem::makeText(QStringLiteral("later")));
        QCOMPARE(notch.sounds.played.size(), 2);
    }

    void thumbnailIsAskedAtTheScreenScale()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("photo.png"));
        writeFile(path);
        Notch notch;
        notch.vm.addItem(ShelfItem::makeFile(QUrl::fromLocalFile(path)));
        QCOMPARE(notch.thumbnails.requests.size(), 1);
        const auto &request = notch.thumbnails.requests.constFirst();
        QCOMPARE(request.path, path);
        QCOMPARE(request.size, QSize(80, 80));
        QCOMPARE(request.scale, 2.0); // no screen without a GUI application

        QImage thumbnail(80, 60, QImage::Format_ARGB32);
        thumbnail.fill(Qt::red);
        notch.thumbnails.answer(0, thumbnail);
        notch.scheduler.runPending();
        QCOMPARE(notch.items().size(), 1);
        QCOMPARE(notch.items()[0].image, ShelfImage::fromImage(thumbnail));

        // A file item that brings its picture keeps it.
        const ShelfImage symbol = ShelfImage::symbol(QStringLiteral("doc.fill"));
        notch.vm.addItem(ShelfItem::makeFile(QUrl::fromLocalFile(path), symbol));
        notch.scheduler.runPending();
        QCOMPARE(notch.thumbnails.requests.size(), 1);
        QCOMPARE(notch.items().size(), 2);
        QCOMPARE(notch.items()[1].image, symbol);
    }

    // Which type icon a file gets is tst_shelfitem's; here, when it is used.
    void slowThumbnailFallsBackToTheTypeIcon()
    {
        const QString icon = QStringLiteral("application-pdf");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("REPORT.PDF"));
        writeFile(path);
        Notch notch;
        notch.vm.addItem(ShelfItem::makeFile(QUrl::fromLocalFile(path)));
        QCOMPARE(notch.thumbnails.requests.size(), 1);

        notch.scheduler.advance(799);
        QVERIFY(notch.items().isEmpty());
        notch.scheduler.advance(1);
        QCOMPARE(notch.items().size(), 1);
        QCOMPARE(notch.items()[0].image, ShelfImage::themeIcon(icon));
        QVERIFY(notch.thumbnails.requests[0].ticket.isCancelled());

        // A thumbnail that turns up after the wait is dropped.
        QImage late(10, 10, QImage::Format_ARGB32);
        late.fill(Qt::blue);
        notch.thumbnails.answer(0, late);
        notch.scheduler.advance(1000);
        QCOMPARE(notch.items().size(), 1);
        QCOMPARE(notch.items()[0].image, ShelfImage::themeIcon(icon));
    }

    // Only regular files are ever opened: reading a FIFO or a device would hang.
    void onlyRegularFilesAreThumbnailed_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("icon"); // empty: any theme icon
        QTest::newRow("folder") << QStringLiteral("folder") << QStringLiteral("folder");
        QTest::newRow("fifo") << QStringLiteral("fifo") << QString();
        QTest::newRow("/dev/zero") << QStringLiteral("/dev/zero") << QString();
        QTest::newRow("missing") << QStringLiteral("missing") << QString();
        QTest::newRow("symlink to fifo") << QStringLiteral("link") << QString();
    }
    void onlyRegularFilesAreThumbnailed()
    {
        QFETCH(QString, kind);
        QFETCH(QString, icon);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("gone.pdf"));
        if (kind == QLatin1String("/dev/zero")) {
            path = kind;
        } else if (kind == QLatin1String("folder")) {
            path = dir.filePath(QStringLiteral("Photos.png"));
            QVERIFY(QDir().mkdir(path));
        } else if (kind != QLatin1String("missing")) {
            const QString fifo = dir.filePath(QStringLiteral("pipe.pdf"));
            QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
            path = fifo;
            if (kind == QLatin1String("link")) {
                path = dir.filePath(QStringLiteral("link.pdf"));
                QVERIFY(QFile::link(fifo, path));
            }
        }
        Notch notch;
        notch.vm.addItem(ShelfItem::makeFile(QUrl::fromLocalFile(path)));
        notch.scheduler.runPending();
        QVERIFY(notch.thumbnails.requests.isEmpty());
        QCOMPARE(notch.items().size(), 1);
        const ShelfImage &image = notch.items()[0].image;
        QCOMPARE(image.kind(), ShelfImage::Kind::ThemeIcon);
        QVERIFY(!image.name().isEmpty());
        if (!icon.isEmpty())
            QCOMPARE(image.name(), icon);
        QCOMPARE(notch.sounds.played, QStringList{QStringLiteral("Pop")});
    }

    void itemsKeepTheOrderTheyWereAddedIn()
    {
        QTemporaryDir dir;
        const QString slow = dir.filePath(QStringLiteral("slow.png"));
        const QString quick = dir.filePath(QStringLiteral("quick.png"));
        writeFile(slow);
        writeFile(quick);
        Notch notch;
        notch.vm.addItem(ShelfItem::makeFile(QUrl::fromLocalFile(slow)));
        notch.vm.addItem(ShelfItem::makeFile(QUrl::fromLocalFile(quick)));
        notch.vm.addItem(ShelfItem::makeText(QStringLiteral("hello")));
        notch.thumbnails.answer(1, QImage());
        notch.scheduler.advance(100);
        QVERIFY(notch.items().isEmpty());

        notch.thumbnails.answer(0, QImage());
        notch.scheduler.runPending();
        QCOMPARE(notch.items().size(), 3);
        QCOMPARE(notch.items()[0].url, QUrl::fromLocalFile(slow));
        QCOMPARE(notch.items()[1].url, QUrl::fromLocalFile(quick));
        QCOMPARE(notch.items()[2].text, QStringLiteral("hello"));
    }

    void textAndImageItems()
    {
        Notch notch;
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::green);
        notch.vm.addItem(ShelfItem::makeText(QStringLiteral("note")));
        notch.vm.addItem(ShelfItem::makeImage(image));
        QVERIFY(notch.items().isEmpty());
        notch.scheduler.runPending();
        QCOMPARE(notch.items().size(), 2);
        QCOMPARE(notch.shelf(), (QStringList{"text:note", "image:4x4"}));
        QCOMPARE(notch.items()[1].image, ShelfImage::fromImage(image));
        QCOMPARE(notch.sounds.played.count(QStringLiteral("Pop")), 1);

        // The list model shows the same items, addressed by id.
        ShelfItemListModel *list = notch.vm.items();
        QCOMPARE(list->count(), 2);
        const QModelIndex first = list->index(0);
        QCOMPARE(list->data(first, ShelfItemListModel::TypeRole).toString(), QStringLiteral("text"));
        QCOMPARE(list->data(first, ShelfItemListModel::IconKindRole).toString(), QStringLiteral("symbol"));
        QCOMPARE(list->data(first, ShelfItemListModel::IconNameRole).toString(), QStringLiteral("doc.text.fill"));
        QCOMPARE(list->indexOf(list->data(list->index(1), ShelfItemListModel::IdRole).toString()), 1);
    }

    void removeItemRemovesOnlyThatId()
    {
        Notch notch;
        notch.vm.addItem(ShelfItem::makeText(QStringLiteral("a")));
        notch.vm.addItem(ShelfItem::makeText(QStringLiteral("b")));
        notch.scheduler.runPending();
        const QUuid first = notch.items()[0].id;
        QSignalSpy spy(&notch.vm, &NotchViewModel::itemsChanged);

        notch.vm.removeItem(QUuid::createUuid());
        notch.vm.removeItem(QStringLiteral("not an id"));
        QCOMPARE(spy.count(), 0);
        notch.vm.removeItem(first.toString(QUuid::WithoutBraces));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(notch.items().size(), 1);
        QCOMPARE(notch.items()[0].text, QStringLiteral("b"));
    }

    void removalCheckWatchesForAboutTwoSeconds_data()
    {
        QTest::addColumn<int>("movedAtMs"); // -1: never moved
        QTest::addColumn<int>("removedAtMs"); // -1: stays
        QTest::newRow("moved at once") << 0 << 200;
        QTest::newRow("moved before the last look") << 2500 << 2600;
        QTest::newRow("moved after the last look") << 2700 << -1;
        QTest::newRow("copied: stays") << -1 << -1;
    }
    void removalCheckWatchesForAboutTwoSeconds()
    {
        QFETCH(int, movedAtMs);
        QFETCH(int, removedAtMs);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("report.pdf"));
        writeFile(path);
        Notch notch;
        notch.vm.addItem(ShelfItem::makeFile(QUrl::fromLocalFile(path)));
        notch.thumbnails.answer(0, QImage());
        notch.vm.addItem(ShelfItem::makeText(QStringLiteral("stays")));
        notch.scheduler.runPending();
        const QUuid id = notch.items()[0].id;
        const int idleTimers = notch.scheduler.pendingCount(); // the clock

        notch.vm.scheduleRemovalCheck(id, QUrl::fromLocalFile(path), 12);
        for (int t = 0; t <= 4000; t += 100) {
            if (t == movedAtMs)
                QVERIFY(QFile::rename(path, dir.filePath(QStringLiteral("elsewhere.pdf"))));
            const bool gone = notch.vm.items()->indexOf(id) < 0;
            QCOMPARE(gone, removedAtMs >= 0 && t >= removedAtMs);
            notch.scheduler.advance(100);
        }
        QCOMPARE(notch.items().size(), removedAtMs >= 0 ? 1 : 2);
        // No look is left pending after the thirteenth.
        QCOMPARE(notch.scheduler.pendingCount(), idleTimers);
    }

    void removalCheckWithoutAFileKeepsTheItem()
    {
        Notch notch;
        notch.vm.addItem(ShelfItem::makeText(QStringLiteral("text")));
        notch.scheduler.runPending();
        notch.vm.scheduleRemovalCheck(notch.items()[0].id, QUrl(), 12);
        notch.scheduler.advance(5000);
        QCOMPARE(notch.items().size(), 1);
    }

    // --- favourites ----------------------------------------------------------

    void favoritesAreLimitedAndUnique()
    {
        Notch notch(QJsonObject{{kFavoritesKey, QJsonArray()}});
        NotchViewModel &m = notch.vm;
        QSignalSpy spy(&m, &NotchViewModel::favoriteAppsChanged);
        QStringList expected;
        for (int i = 1; i <= 6; ++i) {
            const QString path = QStringLiteral("/usr/share/applications/app%1.desktop").arg(i);
            m.addFavoriteApp(path);
            expected << path;
            // Stored on every change.
            QCOMPARE(storedFavorites(notch.storage), expected);
        }
        QCOMPARE(spy.count(), 6);
        const int saves = notch.storage.saveCount;

        m.addFavoriteApp(QStringLiteral("/usr/share/applications/app7.desktop"));
        m.addFavoriteApp(expected.constFirst());
        QCOMPARE(m.favoriteApps(), expected);
        QCOMPARE(spy.count(), 6);
        QCOMPARE(notch.storage.saveCount, saves);

        m.removeFavoriteApp(expected.at(2));
        expected.removeAt(2);
        QCOMPARE(m.favoriteApps(), expected);
        QCOMPARE(storedFavorites(notch.storage), expected);
        QCOMPARE(spy.count(), 7);
        m.addFavoriteApp(expected.constFirst());
        QCOMPARE(m.favoriteApps().size(), 5);
    }

    void defaultFavoritesAreStoredOnlyOnceEdited()
    {
        Notch notch;
        const QStringList defaults = notch.apps.defaults;
        QCOMPARE(notch.vm.favoriteApps(), defaults);
        QVERIFY(!notch.storage.stored().contains(kFavoritesKey));
        notch.vm.removeFavoriteApp(defaults.constFirst());
        QCOMPARE(storedFavorites(notch.storage), defaults.mid(1));
    }

    // --- toast and clock -----------------------------------------------------

    void toastsHideTwoSecondsAfterTheyAppear()
    {
        Notch notch;
        NotchViewModel &m = notch.vm;
        m.showToast(QStringLiteral("Event added"), ToastStyle::Success);
        QVERIFY(!m.showLimitReachedToast());
        notch.scheduler.runPending();
        QVERIFY(m.showLimitReachedToast());
        QCOMPARE(m.toastMessage(), QStringLiteral("Event added"));
        QCOMPARE(m.toastStyle(), ToastStyle::Success);

        notch.scheduler.advance(1500);
        m.showToast(QStringLiteral("Couldn't add event"), ToastStyle::Warning);
        notch.scheduler.runPending();
        QCOMPARE(m.toastMessage(), QStringLiteral("Couldn't add event"));
        QCOMPARE(m.toastStyle(), ToastStyle::Warning);

        // The first toast's hide ends the second one too.
        notch.scheduler.advance(499);
        QVERIFY(m.showLimitReachedToast());
        notch.scheduler.advance(1);
        QVERIFY(!m.showLimitReachedToast());
        QCOMPARE(m.toastMessage(), QStringLiteral("Couldn't add event"));
        QSignalSpy spy(&m, &NotchViewModel::showLimitReachedToastChanged);
        notch.scheduler.advance(2000);
        QCOMPARE(spy.count(), 0);
        m.showToast(QStringLiteral("Note"), ToastStyle::Info);
        notch.scheduler.runPending();
        QCOMPARE(notch.sounds.played, (QStringList{"Tink", "Basso", "Basso"}));
    }

    void clockTicksEveryThirtySeconds()
    {
        Notch notch;
        const QDateTime start = notch.scheduler.now();
        QSignalSpy spy(&notch.vm, &NotchViewModel::currentTimeChanged);
        notch.scheduler.advance(29999);
        QCOMPARE(spy.count(), 0);
        notch.scheduler.advance(1);
        QCOMPARE(notch.vm.currentTime(), start.addSecs(30));
        // Restarting replaces the timer rather than adding a second one.
        notch.vm.startClock();
        notch.scheduler.advance(30000);
        QCOMPARE(spy.count(), 2);

        // A model's clock stops with it.
        auto other = std::make_unique<NotchViewModel>(notch.scheduler, notch.preferences, notch.types,
                                                      notch.thumbnails, notch.sounds, notch.apps);
        const int pending = notch.scheduler.pendingCount();
        other.reset();
        notch.scheduler.advance(60000);
        QCOMPARE(notch.scheduler.pendingCount(), pending - 1);
    }
};

QTEST_GUILESS_MAIN(TestNotchViewModel)
#include "tst_notchviewmodel.moc"
