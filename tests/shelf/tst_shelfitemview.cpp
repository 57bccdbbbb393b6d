#include "notch/NotchViewRig.h"

#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(TalvoPlugin)

using namespace talvo;

namespace {

// Two shelf items as a row of tiles in a window, pressed and dragged with real
// pointer events; drag sessions are recorded, not run.
struct ViewRig : test::NotchViewRig
{
    ViewRig()
        : NotchViewRig(FakeScreens::screen(1, QRectF(0, 0, 1920, 1080)), Qt::black, {},
                       "ShelfItemRow { x: 10; y: 10; width: 280 }", QSize(300, 120))
    {
        vm.addItem(ShelfItem::makeText(QStringLiteral("first")));
        vm.addItem(ShelfItem::makeText(QStringLiteral("second")));
        scheduler.runPending();
    }

    // The tile of row `index`, once laid out.
    QQuickItem *tile(int index) const
    {
        const QString id = vm.itemList().at(index).id.toString(QUuid::WithoutBraces);
        QList<QQuickItem *> pending{root.get()};
        while (!pending.isEmpty()) {
            QQuickItem *item = pending.takeFirst();
            if (item->property("itemId").toString() == id)
                return item;
            pending.append(item->childItems());
        }
        return nullptr;
    }
    // The window is on screen with both tiles laid out.
    bool tilesReady()
    {
        return ready() && QTest::qWaitFor([this] { return tile(1) != nullptr; });
    }
    QPoint inWindow(QQuickItem *item, QPointF point) const { return item->mapToScene(point).toPoint(); }
    QStringList texts() const
    {
        QStringList result;
        for (const ShelfItem &item : vm.itemList())
            result.append(item.text.value_or(QString()));
        return result;
    }
};

} // namespace

class TestShelfItemView : public QObject
{
    Q_OBJECT
private slots:
    void tileKeepsItsSizeAndShowsItsTitle()
    {
        ViewRig rig;
        QVERIFY(rig.tilesReady());
        QQuickItem *tile = rig.tile(0);
        QCOMPARE(QSizeF(tile->width(), tile->height()), QSizeF(71, 84));
        QCOMPARE(rig.tile(1)->x() - tile->x(), 81.0);
        QCOMPARE(tile->property("displayTitle").toString(), QStringLiteral("first"));
    }

    void removeButtonTakesItsPressAndOnlyItsItem()
    {
        ViewRig rig;
        QVERIFY(rig.tilesReady());
        QQuickItem *tile = rig.tile(0);
        QQuickItem *button = nullptr;
        for (QQuickItem *child : tile->childItems()) {
            if (child->objectName() == QLatin1String("removeButton"))
                button = child;
        }
        QVERIFY(button);
        QVERIFY(!button->isVisible());

        // Hovering shows it; dragging from it moves nothing.
        const QPoint centre = rig.inWindow(button, QPointF(8, 8));
        QTest::mouseMove(&rig.view, rig.inWindow(tile, QPointF(30, 40)));
        QTest::mouseMove(&rig.view, centre);
        QTRY_VERIFY(button->isVisible());
        QTest::mousePress(&rig.view, Qt::LeftButton, {}, centre);
        QTest::mouseMove(&rig.view, centre + QPoint(-2, 0));
        QTest::mouseMove(&rig.view, centre + QPoint(-12, 0));
        QTest::mouseRelease(&rig.view, Qt::LeftButton, {}, centre + QPoint(-12, 0));
        QCOMPARE(rig.sessions.sessions.size(), 0);
        QCOMPARE(rig.texts(), (QStringList{"first", "second"}));

        QTest::mouseClick(&rig.view, Qt::LeftButton, {}, centre);
        QCOMPARE(rig.texts(), QStringList{"second"});
        QCOMPARE(rig.sessions.sessions.size(), 0);
    }
};

QTEST_MAIN(TestShelfItemView)
#include "tst_shelfitemview.moc"
