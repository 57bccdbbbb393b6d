#include <QAnimationDriver>
#include <QCoreApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QTest>

#include <memory>

namespace {

// The animation clock, moved by the test in frames of 16 ms.
class SteppedAnimationDriver : public QAnimationDriver
{
public:
    void step(int ms)
    {
        for (int passed = 0; passed < ms; passed += 16) {
            // Animations start on the next turn of the event loop.
            QCoreApplication::processEvents();
            m_elapsed += 16;
            advance();
        }
    }
    qint64 elapsed() const override { return m_elapsed; }

private:
    qint64 m_elapsed = 0;
};

} // namespace

// A layer of the notch's body is shown and hidden as fast as the pointer and
// drags change what the notch shows. Wherever a fade is cut short, the layer
// must end where it was last told: a layer left half faded draws over the
// next one for good.
class TestNotchContentLayer : public QObject
{
    Q_OBJECT

    QQmlEngine m_engine;
    SteppedAnimationDriver m_driver;

private slots:
    void initTestCase()
    {
        m_engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        m_driver.install();
    }

    void endsWhereItWasLastTold_data()
    {
        // Milliseconds between changes of `shown`, which starts false and
        // flips at each.
        QTest::addColumn<bool>("scalesOnExit");
        QTest::addColumn<QList<int>>("gaps");
        QTest::newRow("shown to rest") << true << QList<int>{0};
        QTest::newRow("shown, hidden to rest") << true << QList<int>{0, 600};
        QTest::newRow("hidden mid-entry") << true << QList<int>{0, 48};
        QTest::newRow("hidden mid-entry, shown, hidden") << true << QList<int>{0, 32, 1, 60};
        QTest::newRow("hidden mid-entry, shown, hidden later") << true << QList<int>{0, 47, 7, 81};
        QTest::newRow("flickering") << true << QList<int>{0, 115, 37, 21, 69, 17};
        QTest::newRow("fading only: shown, hidden to rest") << false << QList<int>{0, 600};
        QTest::newRow("fading only: hidden mid-entry, shown, hidden") << false << QList<int>{0, 32, 1, 60};
        QTest::newRow("fading only: flickering") << false << QList<int>{0, 32, 16, 48, 0, 80, 32};
    }
    void endsWhereItWasLastTold()
    {
        QFETCH(bool, scalesOnExit);
        QFETCH(QList<int>, gaps);
        QQmlComponent component(&m_engine);
        component.setData("import Talvo\nNotchContentLayer { width: 200; height: 100; hiddenScale: 0.9 }", QUrl());
        std::unique_ptr<QObject> layer(component.create());
        QVERIFY2(layer, qPrintable(component.errorString()));
        layer->setProperty("scalesOnExit", scalesOnExit);
        bool shown = false;
        for (int gap : gaps) {
            m_driver.step(gap);
            shown = !shown;
            layer->setProperty("shown", shown);
        }
        m_driver.step(3000);
        QCOMPARE(layer->property("opacity").toReal(), shown ? 1.0 : 0.0);
        QCOMPARE(layer->property("scale").toReal(), shown ? 1.0 : 0.9);
        QCOMPARE(layer->property("visible").toBool(), shown);
    }

    void cleanupTestCase() { m_driver.uninstall(); }
};

QTEST_MAIN(TestNotchContentLayer)
#include "tst_notchcontentlayer.moc"
