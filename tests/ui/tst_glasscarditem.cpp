#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(TalvoPlugin)

// The glass card drawn by the software scene graph at sizes an opening panel
// passes through.
class TestGlassCardItem : public QObject
{
    Q_OBJECT
private slots:
    void drawsAtEverySize_data()
    {
        QTest::addColumn<qreal>("width");
        QTest::addColumn<qreal>("height");
        QTest::newRow("card") << 100.0 << 50.0;
        QTest::newRow("two pixels high") << 100.0 << 2.0;
        QTest::newRow("under a pixel high") << 100.0 << 0.4;
        QTest::newRow("under a pixel wide") << 0.4 << 50.0;
    }
    void drawsAtEverySize()
    {
        QFETCH(qreal, width);
        QFETCH(qreal, height);
        QTest::failOnWarning(QRegularExpression(QStringLiteral("QPainter")));
        QQmlEngine engine;
        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        QQmlComponent component(&engine);
        component.setData(R"(
            import QtQuick
            import Talvo
            Window {
                width: 120; height: 80; color: "black"; visible: true
                GlassCardItem { objectName: "card"; x: 10; y: 10; radius: 1; borderWidth: 1.25; dashLength: 5
                                borderColor: "white"; fillTop: "white"; fillBottom: "white" }
            }
        )", QUrl::fromLocalFile(QStringLiteral("test.qml")));
        std::unique_ptr<QObject> root(component.create());
        QVERIFY2(root, qPrintable(component.errorString()));
        auto *window = qobject_cast<QQuickWindow *>(root.get());
        auto *card = root->findChild<QQuickItem *>(QStringLiteral("card"));
        QVERIFY(window && card);
        // From a full card, as a closing panel shrinks it, and back.
        card->setSize(QSizeF(100, 50));
        QVERIFY(QTest::qWaitForWindowExposed(window));
        window->grabWindow();
        card->setSize(QSizeF(width, height));
        const QImage frame = window->grabWindow();
        card->setSize(QSizeF(100, 50));
        QCOMPARE(window->grabWindow().pixelColor(60, 35).lightness(), 255);
        // Cards of a pixel or more are drawn.
        if (width >= 1 && height >= 1)
            QCOMPARE(frame.pixelColor(10 + int(width) / 2, 10).lightness(), 255);
    }
};

QTEST_MAIN(TestGlassCardItem)
#include "tst_glasscarditem.moc"
