#include "platform/linux/QuickAppWindows.h"

#include <QQmlEngine>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(TalvoPlugin)

using namespace talvo;

// The settings and first-run windows on a real X server.
class TestAppWindows : public QObject
{
    Q_OBJECT
private slots:
    void settingsWindowKeepsItsFrame()
    {
        QTemporaryDir dir;
        QQmlEngine engine;
        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        WindowStateStore state(dir.filePath(QStringLiteral("window-state.json")));
        QuickAppWindowFactory factory(engine, state);
        QRect moved;
        {
            auto window = factory.createSettingsWindow();
            QSignalSpy closed(window.get(), &AppWindow::closed);
            window->present();
            auto *quick = qobject_cast<QQuickWindow *>(QGuiApplication::topLevelWindows().constLast());
            QVERIFY(quick);
            QVERIFY(QTest::qWaitForWindowExposed(quick));
            quick->setGeometry(QRect(100, 120, 900, 600));
            moved = quick->geometry();
            quick->close();
            QTRY_COMPARE(closed.count(), 1);
        }
        QCOMPARE(state.frame(QStringLiteral("TalvoSettingsWindow")), moved);
        auto again = factory.createSettingsWindow();
        again->present();
        auto *quick = qobject_cast<QQuickWindow *>(QGuiApplication::topLevelWindows().constLast());
        QCOMPARE(quick->size(), moved.size());
    }

    void onboardingWindowHasNoControlsAndCallsBack()
    {
        QTemporaryDir dir;
        QQmlEngine engine;
        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        WindowStateStore state(dir.filePath(QStringLiteral("window-state.json")));
        QuickAppWindowFactory factory(engine, state);
        int finished = 0;
        auto window = factory.createOnboardingWindow([&] { ++finished; });
        window->present();
        auto *quick = qobject_cast<QQuickWindow *>(QGuiApplication::topLevelWindows().constLast());
        QVERIFY(QTest::qWaitForWindowExposed(quick));
        QCOMPARE(quick->minimumSize(), quick->maximumSize()); // no resizing
        QVERIFY(!(quick->flags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(quick->flags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(QMetaObject::invokeMethod(quick->property("closeHandler").value<QObject *>(), "invoke"));
        QCOMPARE(finished, 1);
    }
};

QTEST_MAIN(TestAppWindows)
#include "tst_appwindows.moc"
