#include "fakes/FakeDragData.h"
#include "fakes/FakeNotchServices.h"
#include "notch/DropDetectionView.h"

#include <QBuffer>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(talvo::FakeDragData)

using namespace talvo;

namespace {

const QString kUriList = QStringLiteral("text/uri-list");
const QString kText = QStringLiteral("text/plain");
const QString kPng = QStringLiteral("image/png");
const QString kJpeg = QStringLiteral("image/jpeg");

QByteArray encoded(const char *format, QSize size = QSize(6, 4))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// The drop target over the notch window. The idle outline in window
// coordinates is (337.5, 0, 185, 24).
struct Rig : FakeNotchServices
{
    std::unique_ptr<DropDetectionView> drop =
        std::make_unique<DropDetectionView>(controller.get(), &vm, scheduler, haptics);
};

const FakeDragData kFiles{{kUriList, "file:///missing/a.txt\r\nfile:///missing/b.txt\r\n"}, {kText, "a.txt b.txt"}};
const FakeDragData kPlainText{{kText, "hello"}};

} // namespace

class TestDropDetectionView : public QObject
{
    Q_OBJECT
private slots:
    void copiesOnlyInsideTheGrownOutline_data()
    {
        QTest::addColumn<bool>("fileDrag");
        QTest::addColumn<QPointF>("location");
        QTest::addColumn<bool>("copies");
        // Idle outline x 337.5..522.5, y 0..24; file-drag outline x 270..590, y 0..101.
        QTest::newRow("on the idle notch") << false << QPointF(430, 10) << true;
        QTest::newRow("in the right margin") << false << QPointF(542, 10) << true;
        QTest::newRow("beyond the right margin") << false << QPointF(543, 10) << false;
        QTest::newRow("in the bottom margin") << false << QPointF(430, 43.5) << true;
        QTest::newRow("beyond the bottom margin") << false << QPointF(430, 44.5) << false;
        QTest::newRow("below the file-drag shape") << true << QPointF(430, 120) << true;
        QTest::newRow("beyond the file-drag margin") << true << QPointF(250 - 1, 50) << false;
    }
    void copiesOnlyInsideTheGrownOutline()
    {
        QFETCH(bool, fileDrag);
        QFETCH(QPointF, location);
        QFETCH(bool, copies);
        Rig rig;
        rig.controller->fileDrag().setFileDragActive(fileDrag);
        QCOMPARE(rig.drop->evaluateDrag(location, kPlainText), copies ? Qt::CopyAction : Qt::IgnoreAction);
        rig.scheduler.runPending();
        QCOMPARE(rig.vm.isDragTargetActive(), copies);
        QCOMPARE(rig.vm.isHovering(), copies);
    }

    void enteringChangesStateOnTheNextTurn_data()
    {
        QTest::addColumn<FakeDragData>("data");
        QTest::addColumn<bool>("files");
        QTest::newRow("files") << kFiles << true;
        QTest::newRow("text") << kPlainText << false;
    }
    void enteringChangesStateOnTheNextTurn()
    {
        QFETCH(FakeDragData, data);
        QFETCH(bool, files);
        Rig rig;
        QCOMPARE(rig.drop->evaluateDrag(QPointF(430, 10), data), Qt::CopyAction);
        QVERIFY(!rig.vm.isDragTargetActive());
        QCOMPARE(rig.haptics.performed, 1);
        rig.scheduler.runPending();
        QVERIFY(rig.vm.isDragTargetActive());
        QVERIFY(rig.vm.isHovering());
        QCOMPARE(rig.vm.isFileDragActive(), files);

        // Moving on inside: nothing new.
        QCOMPARE(rig.drop->evaluateDrag(QPointF(300, 90), data), Qt::CopyAction);
        QCOMPARE(rig.haptics.performed, 1);

        // Out of the zone: the target clears, the file drag goes on.
        QCOMPARE(rig.drop->evaluateDrag(QPointF(300, 400), data), Qt::IgnoreAction);
        QVERIFY(rig.vm.isDragTargetActive());
        rig.scheduler.runPending();
        QVERIFY(!rig.vm.isDragTargetActive());
        QCOMPARE(rig.vm.isFileDragActive(), files);

        // Back in, then out of the window altogether.
        rig.drop->evaluateDrag(QPointF(430, 10), data);
        rig.scheduler.runPending();
        QVERIFY(rig.vm.isDragTargetActive());
        rig.drop->draggingExited();
        rig.scheduler.runPending();
        QVERIFY(!rig.vm.isDragTargetActive());
    }

    void windowTakesTheDragInTheMargin()
    {
        Rig rig;
        rig.controller->fileDrag().setFileDragActive(true);
        rig.scheduler.advance(10);
        QCOMPARE(rig.window.inputRegion, QRegion(QRect(250, 0, 360, 121)));
        rig.controller->fileDrag().setFileDragActive(false);
        rig.scheduler.advance(10);
        QVERIFY(rig.window.inputRegion.isEmpty());
    }

    void shelfItemsOnTheirWayOutAreNotTakenBack()
    {
        Rig rig;
        rig.vm.addItem(ShelfItem::makeText(QStringLiteral("x")));
        rig.scheduler.runPending();
        rig.controller->setShelfItemDragActive(true);
        QCOMPARE(rig.drop->evaluateDrag(QPointF(430, 10), kFiles), Qt::IgnoreAction);
        rig.scheduler.runPending();
        QVERIFY(!rig.vm.isDragTargetActive());
        QVERIFY(!rig.vm.isFileDragActive());
        QCOMPARE(rig.haptics.performed, 0);
    }

    void dropTakesTheFirstKindFound_data()
    {
        QTest::addColumn<FakeDragData>("data");
        QTest::addColumn<bool>("handled");
        QTest::addColumn<QStringList>("shelf");
        QTest::addColumn<QStringList>("unread");

        QTest::newRow("files before their names as text")
            << kFiles << true << QStringList{"file:/missing/a.txt", "file:/missing/b.txt"} << QStringList{kText};
        QTest::newRow("comments and lax line ends")
            << FakeDragData{{kUriList, "# from a file manager\nfile:///missing/c%20d.txt\n\n"}} << true
            << QStringList{"file:/missing/c d.txt"} << QStringList{};
        QTest::newRow("a folder")
            << FakeDragData{{kUriList, "file:///missing/folder/"}} << true << QStringList{"file:/missing/folder/"}
            << QStringList{};
        QTest::newRow("web addresses are not files")
            << FakeDragData{{kUriList, "https://example.org/a\r\n"}, {kText, "https://example.org/a"}} << true
            << QStringList{"text:https://example.org/a"} << QStringList{};
        QTest::newRow("a file URL as text")
            << FakeDragData{{kText, " file:///missing/e.pdf\n"}} << true << QStringList{"file:/missing/e.pdf"}
            << QStringList{};
        QTest::newRow("an image before text")
            << FakeDragData{{kText, "caption"}, {kPng, encoded("PNG")}} << true << QStringList{"image:6x4"}
            << QStringList{};
        QTest::newRow("one image from several encodings")
            << FakeDragData{{kJpeg, encoded("JPEG", QSize(3, 3))}, {kPng, encoded("PNG")}} << true
            << QStringList{"image:3x3"} << QStringList{kPng};
        QTest::newRow("TIFF") << FakeDragData{{QStringLiteral("image/tiff"), encoded("TIFF")}} << true
                              << QStringList{"image:6x4"} << QStringList{};
        QTest::newRow("BMP") << FakeDragData{{QStringLiteral("image/bmp"), encoded("BMP")}} << true
                             << QStringList{"image:6x4"} << QStringList{};
        QTest::newRow("text") << kPlainText << true << QStringList{"text:hello"} << QStringList{};
        QTest::newRow("UTF-8 text with a terminator")
            << FakeDragData{{QStringLiteral("text/plain;charset=utf-8"), QByteArray("Grüße\0", 7)}} << true
            << QStringList{"text:Grüße"} << QStringList{};
        QTest::newRow("empty text") << FakeDragData{{kText, ""}} << false << QStringList{} << QStringList{};
        QTest::newRow("nothing readable")
            << FakeDragData{{QStringLiteral("application/x-unknown"), "?"}} << false << QStringList{}
            << QStringList{QStringLiteral("application/x-unknown")};
    }
    void dropTakesTheFirstKindFound()
    {
        QFETCH(FakeDragData, data);
        QFETCH(QStringList, shelf);
        QFETCH(QStringList, unread);
        Rig rig;
        QTEST(rig.drop->acceptDrop(data), "handled");
        rig.scheduler.runPending();
        QCOMPARE(rig.shelf(), shelf);
        // One pop for the whole drop.
        QCOMPARE(rig.sounds.played.size(), shelf.isEmpty() ? 0 : 1);
        for (const QString &format : unread)
            QVERIFY2(!data.read.contains(format), qPrintable(format));
        QCOMPARE(rig.vm.activeTab(), NotchPanelTab::Home);
    }

    void unreadableImageFallsBackToText()
    {
        Rig rig;
        const FakeDragData data{{kPng, "not a picture"}, {kText, "alt text"}};
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Unreadable image/png"));
        QTest::ignoreMessage(QtWarningMsg, "No readable image in the drop");
        QVERIFY(rig.drop->acceptDrop(data));
        rig.scheduler.runPending();
        QCOMPARE(rig.shelf(), QStringList{"text:alt text"});
    }

    void dropEndsTheFileDrag_data()
    {
        QTest::addColumn<bool>("seenOnTheDesktop");
        QTest::newRow("file drag seen on the desktop") << true;
        QTest::newRow("drag seen only by the window") << false;
    }
    void dropEndsTheFileDrag()
    {
        QFETCH(bool, seenOnTheDesktop);
        Rig rig;
        rig.drag.startDrag({kUriList, kText});
        const qint64 fileDrag = rig.drag.count;
        if (seenOnTheDesktop) {
            rig.monitors.sendGlobal(PointerEvent::of(PointerEventType::LeftMouseDragged));
            QCOMPARE(rig.controller->fileDrag().activeChangeCount(), fileDrag);
            // A later selection change must not count as the drag that ended.
            rig.drag.count += 3;
        }
        rig.drop->evaluateDrag(QPointF(430, 10), kFiles);
        rig.scheduler.runPending();
        QVERIFY(rig.vm.isFileDragActive());

        QVERIFY(rig.drop->acceptDrop(kFiles));
        QVERIFY(rig.vm.isDragTargetActive());
        rig.scheduler.runPending();
        QCOMPARE(rig.shelf().size(), 2);
        QVERIFY(!rig.vm.isFileDragActive());
        QVERIFY(!rig.vm.isDragTargetActive());
        QCOMPARE(rig.controller->fileDrag().activeChangeCount(), std::nullopt);
        QCOMPARE(rig.controller->fileDrag().lastCompletedChangeCount(), fileDrag);

        // Selecting text by dragging afterwards: the selection still holds the
        // dropped files, which must not bring the drop shape back.
        rig.drag.count = rig.controller->fileDrag().lastCompletedChangeCount();
        rig.monitors.sendGlobal(PointerEvent::of(PointerEventType::LeftMouseDragged));
        QVERIFY(!rig.vm.isFileDragActive());
    }

    void withoutItsPartnersNothingHappens()
    {
        Rig rig;
        DropDetectionView noController(nullptr, &rig.vm, rig.scheduler, rig.haptics);
        QCOMPARE(noController.evaluateDrag(QPointF(430, 10), kPlainText), Qt::IgnoreAction);
        DropDetectionView noModel(rig.controller.get(), nullptr, rig.scheduler, rig.haptics);
        QCOMPARE(noModel.evaluateDrag(QPointF(430, 10), kPlainText), Qt::CopyAction);
        QVERIFY(!noModel.acceptDrop(kPlainText));
        rig.scheduler.runPending();
        QVERIFY(rig.shelf().isEmpty());
        QVERIFY(!rig.vm.isDragTargetActive());
    }

    // The window's Qt drag events reach the same rules.
    void windowDragEvents_data()
    {
        QTest::addColumn<Qt::DropActions>("offered");
        QTest::addColumn<QPointF>("location");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("copy or move, on the notch") << Qt::DropActions(Qt::CopyAction | Qt::MoveAction)
                                                    << QPointF(430, 10) << true;
        // Taking it would let the source delete the file the shelf points to.
        QTest::newRow("move only") << Qt::DropActions(Qt::MoveAction) << QPointF(430, 10) << false;
    }
    void windowDragEvents()
    {
        QFETCH(Qt::DropActions, offered);
        QFETCH(QPointF, location);
        QFETCH(bool, accepted);
        Rig rig;
        QObject window;
        window.installEventFilter(rig.drop.get());
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(QStringLiteral("/missing/f.txt"))});

        QDragMoveEvent move(location.toPoint(), offered, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &move);
        QCOMPARE(move.isAccepted(), accepted);
        QCOMPARE(move.dropAction(), accepted ? Qt::CopyAction : Qt::IgnoreAction);

        // Sources drop only where the last move was accepted; by then the
        // release may have ended the file drag and shrunk the outline.
        rig.scheduler.runPending();
        if (offered.testFlag(Qt::CopyAction))
            rig.controller->fileDrag().finish();
        QDropEvent drop(QPointF(430, 80), offered, &mime, Qt::NoButton, Qt::NoModifier);
        if (accepted || !offered.testFlag(Qt::CopyAction)) {
            QCoreApplication::sendEvent(&window, &drop);
            QCOMPARE(drop.isAccepted(), accepted);
        }
        rig.scheduler.runPending();
        QCOMPARE(rig.shelf(), accepted ? QStringList{"file:/missing/f.txt"} : QStringList{});
        QVERIFY(!rig.vm.isDragTargetActive());
    }
};


QTEST_MAIN(TestDropDetectionView)
#include "tst_dropdetectionview.moc"
