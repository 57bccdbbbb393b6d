#include "fakes/FakeDragSessions.h"
#include "fakes/FakeNotchServices.h"
#include "platform/linux/FunctionImageProvider.h"
#include "shelf/ShelfDragOut.h"
#include "ui/QmlInstances.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(TalvoPlugin)

using namespace talvo;

namespace {

// Two shelf items as a row of tiles in a window, pressed and dragged with real
// pointer events; drag sessions are recorded, not run.
struct ViewRig : FakeNotchServices
{
    ViewRig()
    {
        vm.addText(QStringLiteral("first"));
        vm.addText(QStringLiteral("second"));
        scheduler.runPending();

        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        provideToQml(engine, &vm);
        provideToQml(engine, &dragOut);
        engine.addImageProvider(QStringLiteral("shelf"), new FunctionImageProvider([this](const QString &id, QSize) {
            return vm.items()->icon(id, 40);
        }));
        window.resize(300, 120);
        window.setColor(Qt::black);
        QQmlComponent component(&engine);
        component.setData("import Talvo\nShelfItemRow { x: 10; y: 10; width: 280 }", QUrl());
        row.reset(qobject_cast<QQuickItem *>(component.create()));
        if (!row) {
            qWarning() << component.errorString();
            return;
        }
        row->setParentItem(window.contentItem());
        window.show();
    }
    ~ViewRig()
    {
        row.reset();
        // One more frame lets the scene graph let go of the tiles' textures.
        QTest::qWait(50);
    }

    // The tile of row `index`, once laid out.
    QQuickItem *tile(int index) const
    {
        const QString id = vm.itemList().at(index).id.toString(QUuid::WithoutBraces);
        QList<QQuickItem *> pending{row.get()};
        while (!pending.isEmpty()) {
            QQuickItem *item = pending.takeFirst();
            if (item->property("itemId").toString() == id)
                return item;
            pending.append(item->childItems());
        }
        return nullptr;
    }
    // The window is on screen with both tiles laid out.
    bool ready()
    {
        return row && QTest::qWaitForWindowExposed(&window) && QTest::qWaitFor([this] { return tile(1) != nullptr; });
    }
    QPoint inWindow(QQuickItem *item, QPointF point) const { return item->mapToScene(point).toPoint(); }
    QStringList texts() const
    {
        QStringList result;
        for (const ShelfItem &item : vm.itemList())
            result.append(item.text.value_or(QString()));
        return result;
    }

    FakeDragSessions sessions;
    ShelfDragOut dragOut{&vm, controller.get(), sessions, types};
    QQmlEngine engine;
    QQuickWindow window;
    std::unique_ptr<QQuickItem> row;
};

} // namespace

class TestShelfItemView : public QObject
{
    Q_OBJECT
private slots:
    void tileKeepsItsSizeAndShowsItsTitle()
    {
        ViewRig rig;
        QVERIFY(rig.ready());
        QQuickItem *tile = rig.tile(0);
        QCOMPARE(QSizeF(tile->width(), tile->height()), QSizeF(71, 84));
        QCOMPARE(rig.tile(1)->x() - tile->x(), 81.0);
        QCOMPARE(tile->property("displayTitle").toString(), QStringLiteral("first"));
    }

    void dragStartsOnlyBeyondThreePoints()
    {
        ViewRig rig;
        QVERIFY(rig.ready());
        QQuickItem *tile = rig.tile(0);
        const QPoint press = rig.inWindow(tile, QPointF(30, 40));
        QTest::mouseMove(&rig.window, press);
        QTest::mousePress(&rig.window, Qt::LeftButton, {}, press);
        QTest::mouseMove(&rig.window, press + QPoint(3, 0));
        QCOMPARE(rig.sessions.sessions.size(), 0);
        QTest::mouseMove(&rig.window, press + QPoint(4, 0));
        QCOMPARE(rig.sessions.sessions.size(), 1);
        QCOMPARE(rig.sessions.sessions.at(0)->request.data->text(), QStringLiteral("first"));
        rig.sessions.run(Qt::CopyAction);
        QTest::mouseRelease(&rig.window, Qt::LeftButton, {}, press + QPoint(4, 0));

        // The next press on the tile starts afresh.
        QTest::mousePress(&rig.window, Qt::LeftButton, {}, press);
        QTest::mouseMove(&rig.window, press + QPoint(0, 8));
        QCOMPARE(rig.sessions.sessions.size(), 2);
        rig.sessions.run(Qt::CopyAction);
        QTest::mouseRelease(&rig.window, Qt::LeftButton, {}, press + QPoint(0, 8));
    }

    void removeButtonTakesItsPressAndOnlyItsItem()
    {
        ViewRig rig;
        QVERIFY(rig.ready());
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
        QTest::mouseMove(&rig.window, rig.inWindow(tile, QPointF(30, 40)));
        QTest::mouseMove(&rig.window, centre);
        QTRY_VERIFY(button->isVisible());
        QTest::mousePress(&rig.window, Qt::LeftButton, {}, centre);
        QTest::mouseMove(&rig.window, centre + QPoint(-2, 0));
        QTest::mouseMove(&rig.window, centre + QPoint(-12, 0));
        QTest::mouseRelease(&rig.window, Qt::LeftButton, {}, centre + QPoint(-12, 0));
        QCOMPARE(rig.sessions.sessions.size(), 0);
        QCOMPARE(rig.texts(), (QStringList{"first", "second"}));

        QTest::mouseClick(&rig.window, Qt::LeftButton, {}, centre);
        QCOMPARE(rig.texts(), QStringList{"second"});
        QCOMPARE(rig.sessions.sessions.size(), 0);
    }
};

QTEST_MAIN(TestShelfItemView)
#include "tst_shelfitemview.moc"
