#include "fakes/FakeDragSessions.h"
#include "fakes/FakeNotchServices.h"
#include "notch/ShelfDragOutLink.h"
#include "shelf/ShelfDragOut.h"
#include "shelf/ShelfItemDragSource.h"

#include <QFile>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace talvo;

namespace {

// The shelf with one item of each kind, a tile for each, and drag sessions the
// test plays. The file item's file is a real one in a temporary folder.
struct Rig : FakeNotchServices
{
    Rig()
    {
        linkShelfDragOut(dragOut, vm, *controller);
        QFile file(filePath);
        file.open(QIODevice::WriteOnly);
        file.write("data");
        file.close();
        vm.addItem(ShelfItem::makeFile(QUrl::fromLocalFile(filePath)));
        thumbnails.answer(0, QImage());
        vm.addItem(ShelfItem::makeText(QStringLiteral("hello")));
        QImage red(8, 6, QImage::Format_RGB32);
        red.fill(Qt::red);
        vm.addItem(ShelfItem::makeImage(red));
        scheduler.runPending();
        for (const ShelfItem &item : vm.itemList()) {
            auto tile = std::make_unique<ShelfItemDragSource>();
            tile->setDragOut(&dragOut);
            tile->setItemId(item.id.toString(QUuid::WithoutBraces));
            tiles.push_back(std::move(tile));
        }
    }
    ShelfItemDragSource &tile(ItemType type)
    {
        for (int i = 0; i < vm.itemList().size(); ++i) {
            if (vm.itemList().at(i).type == type)
                return *tiles.at(i);
        }
        qFatal("no tile");
    }
    // Presses in the middle of the tile and moves by (dx, dy).
    bool pull(ShelfItemDragSource &tile, qreal dx, qreal dy)
    {
        tile.press(35, 42);
        return tile.move(35 + dx, 42 + dy);
    }
    QStringList kinds() const
    {
        QStringList names;
        for (const ShelfItem &item : vm.itemList())
            names.append(rawValue(item.type));
        return names;
    }

    QTemporaryDir dir;
    QString filePath = dir.filePath(QStringLiteral("report.pdf"));
    FakeDragSessions sessions;
    ShelfDragOut dragOut{vm.items(), sessions, types};
    std::vector<std::unique_ptr<ShelfItemDragSource>> tiles;
};

} // namespace

class TestShelfDragOut : public QObject
{
    Q_OBJECT
private slots:
    void dragStartsBeyondTheThreshold_data()
    {
        QTest::addColumn<qreal>("dx");
        QTest::addColumn<qreal>("dy");
        QTest::addColumn<bool>("starts");
        QTest::newRow("3.0 across") << 3.0 << 0.0 << false;
        QTest::newRow("3.0 up") << 0.0 << -3.0 << false;
        QTest::newRow("3.1 across") << 3.1 << 0.0 << true;
        QTest::newRow("2.1 diagonally (2.97)") << 2.1 << 2.1 << false;
        QTest::newRow("2.2 diagonally (3.11)") << -2.2 << 2.2 << true;
    }
    void dragStartsBeyondTheThreshold()
    {
        QFETCH(qreal, dx);
        QFETCH(qreal, dy);
        QFETCH(bool, starts);
        Rig rig;
        ShelfItemDragSource &tile = rig.tile(ItemType::Text);
        QCOMPARE(rig.pull(tile, dx, dy), starts);
        QCOMPARE(rig.sessions.sessions.size(), starts ? 1 : 0);
        QCOMPARE(tile.isDragging(), starts);
    }

    void onePressStartsOneDrag()
    {
        Rig rig;
        ShelfItemDragSource &tile = rig.tile(ItemType::Text);
        QVERIFY(!tile.move(80, 80)); // no press yet
        QVERIFY(rig.pull(tile, 10, 0));
        QVERIFY(!tile.move(60, 60));
        QCOMPARE(rig.sessions.sessions.size(), 1);

        QSignalSpy ended(&tile, &ShelfItemDragSource::dragEnded);
        rig.sessions.run(Qt::CopyAction);
        QCOMPARE(ended.size(), 1);
        QVERIFY(!tile.isDragging());
        QVERIFY(!tile.isPressed());
        // A release without movement leaves nothing behind either.
        tile.press(10, 10);
        tile.release();
        QVERIFY(!tile.move(40, 40));
        QVERIFY(rig.pull(tile, 0, 5));
        QCOMPARE(rig.sessions.sessions.size(), 2);
    }

    void eachKindOffersItsOwnDataAndActions()
    {
        Rig rig;
        QVERIFY(rig.pull(rig.tile(ItemType::File), 5, 0));
        QVERIFY(rig.pull(rig.tile(ItemType::Text), 5, 0));
        QVERIFY(rig.pull(rig.tile(ItemType::Image), 5, 0));
        const auto &sessions = rig.sessions.sessions;
        const QMimeData &file = *sessions.at(0)->request.data;
        const QMimeData &text = *sessions.at(1)->request.data;
        const QMimeData &image = *sessions.at(2)->request.data;

        QCOMPARE(file.formats(), QStringList{QStringLiteral("text/uri-list")});
        QCOMPARE(file.urls(), QList<QUrl>{QUrl::fromLocalFile(rig.filePath)});
        QCOMPARE(text.formats(), QStringList{QStringLiteral("text/plain")});
        QCOMPARE(text.text(), QStringLiteral("hello"));
        QCOMPARE(image.formats(), (QStringList{QStringLiteral("image/png"), QStringLiteral("image/tiff")}));
        for (const char *format : {"PNG", "TIFF"}) {
            const QImage decoded = QImage::fromData(
                image.data(QStringLiteral("image/") + QString::fromLatin1(format).toLower()), format);
            QCOMPARE(decoded.size(), QSize(8, 6));
            QCOMPARE(decoded.pixelColor(3, 3), QColor(Qt::red));
        }

        QCOMPARE(sessions.at(0)->request.allowedActions, Qt::CopyAction | Qt::MoveAction);
        QCOMPARE(sessions.at(1)->request.allowedActions, Qt::DropActions(Qt::CopyAction));
        QCOMPARE(sessions.at(2)->request.allowedActions, Qt::DropActions(Qt::CopyAction));
        for (const auto &session : sessions)
            QCOMPARE(session->request.defaultAction, Qt::CopyAction);
        // The picture starts centred on the tile: pressed in the middle and
        // moved 5 to the right, the pointer is 5 right of the picture's centre.
        QCOMPARE(sessions.at(0)->request.picture.deviceIndependentSize(), QSizeF(50, 50));
        QCOMPARE(sessions.at(0)->request.hotSpot, QPoint(25 + 5, 25));
    }

    void anImageWithoutPixelsCannotBeDragged()
    {
        ShelfItem noPicture = ShelfItem::makeImage(QImage());
        QCOMPARE(ShelfDragOut::makeDragData(noPicture), nullptr);
        noPicture.image = ShelfImage::symbol(QStringLiteral("photo.fill"));
        QCOMPARE(ShelfDragOut::makeDragData(noPicture), nullptr);
    }

    void operationMask_data()
    {
        QTest::addColumn<ItemType>("type");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<Qt::DropActions>("mask");
        const Qt::DropActions copy(Qt::CopyAction);
        const Qt::DropActions move(Qt::MoveAction);
        QTest::newRow("file") << ItemType::File << Qt::KeyboardModifiers() << copy;
        QTest::newRow("file, Shift") << ItemType::File << Qt::KeyboardModifiers(Qt::ShiftModifier) << move;
        QTest::newRow("file, Ctrl+Shift")
            << ItemType::File << Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::ControlModifier) << move;
        QTest::newRow("file, Ctrl") << ItemType::File << Qt::KeyboardModifiers(Qt::ControlModifier) << copy;
        QTest::newRow("text, Shift") << ItemType::Text << Qt::KeyboardModifiers(Qt::ShiftModifier) << copy;
        QTest::newRow("image, Shift") << ItemType::Image << Qt::KeyboardModifiers(Qt::ShiftModifier) << copy;
    }
    void operationMask()
    {
        QFETCH(ItemType, type);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QTEST(ShelfDragOut::sourceOperationMask(type, modifiers), "mask");
    }

    void onlyAMovedFileLeavesTheShelf_data()
    {
        QTest::addColumn<ItemType>("type");
        QTest::addColumn<Qt::DropAction>("action");
        QTest::addColumn<bool>("fileMoved");
        QTest::addColumn<QStringList>("shelf");
        const QStringList all{"file", "text", "image"};
        QTest::newRow("file moved away") << ItemType::File << Qt::MoveAction << true << QStringList{"text", "image"};
        QTest::newRow("file copied") << ItemType::File << Qt::CopyAction << false << all;
        QTest::newRow("file refused") << ItemType::File << Qt::IgnoreAction << false << all;
        // Removed by someone else meanwhile: only a move is followed up.
        QTest::newRow("file copied, gone anyway") << ItemType::File << Qt::CopyAction << true << all;
        QTest::newRow("move answered, file still there") << ItemType::File << Qt::MoveAction << false << all;
        QTest::newRow("text moved") << ItemType::Text << Qt::MoveAction << false << all;
    }
    void onlyAMovedFileLeavesTheShelf()
    {
        QFETCH(ItemType, type);
        QFETCH(Qt::DropAction, action);
        QFETCH(bool, fileMoved);
        QFETCH(QStringList, shelf);
        Rig rig;
        QVERIFY(rig.pull(rig.tile(type), 5, 0));
        rig.sessions.run(action);
        if (fileMoved)
            QVERIFY(QFile::rename(rig.filePath, rig.dir.filePath(QStringLiteral("elsewhere.pdf"))));
        rig.scheduler.advance(2600);
        QCOMPARE(rig.kinds(), shelf);
        rig.scheduler.advance(10000);
        QCOMPARE(rig.kinds(), shelf);
    }

    void sessionKeepsTheNotchBooks_data()
    {
        QTest::addColumn<ItemType>("type");
        QTest::addColumn<bool>("strip");
        QTest::newRow("file") << ItemType::File << true;
        QTest::newRow("text") << ItemType::Text << false;
        QTest::newRow("image") << ItemType::Image << false;
    }
    void sessionKeepsTheNotchBooks()
    {
        QFETCH(ItemType, type);
        QFETCH(bool, strip);
        Rig rig;
        QVERIFY(rig.pull(rig.tile(type), 5, 0));
        auto &session = *rig.sessions.sessions.last();
        std::exchange(session.began, {})();
        QCOMPARE(rig.vm.isShelfItemDragActive(), strip);
        QCOMPARE(rig.vm.isDraggingShelfItemOut(), strip);

        // Over the notch the drag looked like a file drag; the desktop's drag
        // selection moved on meanwhile.
        rig.controller->fileDrag().setFileDragActive(true);
        rig.drag.startDrag({QStringLiteral("text/uri-list")});
        std::exchange(session.ended, {})(Qt::CopyAction);
        QVERIFY(!rig.vm.isShelfItemDragActive());
        QVERIFY(!rig.vm.isFileDragActive());
        QCOMPARE(rig.controller->fileDrag().activeChangeCount(), std::nullopt);
        QCOMPARE(rig.controller->fileDrag().lastCompletedChangeCount(), rig.drag.count);
    }

    void endingOutlivesTheTileAndTheController()
    {
        Rig rig;
        QVERIFY(rig.pull(rig.tile(ItemType::File), 5, 0));
        rig.sessions.sessions.last()->began();
        // The strip replaces the row the drag started from.
        rig.tiles.clear();
        rig.sessions.sessions.last()->ended(Qt::MoveAction);
        QVERIFY(!rig.vm.isShelfItemDragActive());
        QFile::remove(rig.filePath);
        rig.scheduler.advance(200);
        QCOMPARE(rig.kinds(), (QStringList{"text", "image"}));

        Rig second;
        ShelfItemDragSource &tile = second.tile(ItemType::Text);
        QVERIFY(second.pull(tile, 5, 0));
        second.controller.reset();
        second.sessions.run(Qt::CopyAction);
        QVERIFY(!tile.isDragging());
        QVERIFY(!tile.isPressed());
    }
};

QTEST_MAIN(TestShelfDragOut)
#include "tst_shelfdragout.moc"
