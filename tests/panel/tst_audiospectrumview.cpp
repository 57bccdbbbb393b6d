#include "fakes/TestImages.h"
#include "fakes/VirtualScheduler.h"
#include "panel/AudioSpectrum.h"
#include "ui/QmlScheduler.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(TalvoPlugin)

using namespace talvo;

// The equaliser and the rounded picture as QML builds and draws them.
class TestAudioSpectrumView : public QObject
{
    Q_OBJECT
private slots:
    void drawsBarsAndPicture()
    {
        VirtualScheduler scheduler;
        QQmlEngine engine;
        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        provideSchedulerToQml(engine, scheduler);
        QQmlComponent component(&engine);
        component.setData(R"(
            import QtQuick
            import Talvo
            Window {
                width: 60; height: 30; color: "black"; visible: true
                property alias spectrumView: view
                AudioSpectrumView { id: view; x: 30; y: 8; isPlaying: true; appName: "Spotify" }
                RoundedImage { objectName: "picture"; x: 0; y: 0; width: 22; height: 22; radius: 6 }
            }
        )", QUrl::fromLocalFile(QStringLiteral("test.qml")));
        std::unique_ptr<QObject> root(component.create());
        QVERIFY2(root, qPrintable(component.errorString()));
        auto *window = qobject_cast<QQuickWindow *>(root.get());
        QVERIFY(window);
        auto *spectrum = root->findChild<AudioSpectrum *>();
        QVERIFY(spectrum);
        QVERIFY(spectrum->isAnimating());
        QCOMPARE(spectrum->baseColor(), QColor(29, 185, 84));
        auto *picture = root->findChild<QQuickItem *>(QStringLiteral("picture"));
        QVERIFY(picture);
        picture->setProperty("image", solidImage(Qt::white, {44, 44}));

        qvariant_cast<QQuickItem *>(root->property("spectrumView"))->setProperty("isPlaying", false);
        QVERIFY(!spectrum->isAnimating());
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QImage frame = window->grabWindow();
        // The picture fills its box but not the rounded-off corner.
        QCOMPARE(frame.pixelColor(11, 11), QColor(Qt::white));
        QCOMPARE(frame.pixelColor(0, 0), QColor(Qt::black));
        // Idle bars stand 0.3 × 14 high about their middle: lit at the middle, dark at the top.
        QVERIFY(frame.pixelColor(30, 15).green() > 60);
        QCOMPARE(frame.pixelColor(30, 9), QColor(Qt::black));
    }
};

QTEST_MAIN(TestAudioSpectrumView)
#include "tst_audiospectrumview.moc"
