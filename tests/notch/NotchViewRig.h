#pragma once

#include "fakes/FakeDragSessions.h"
#include "fakes/FakeNotchServices.h"
#include "notch/NotchGreetingSequence.h"
#include "notch/NotchShelfLayout.h"
#include "notch/ShelfDragOutLink.h"
#include "platform/linux/FunctionImageProvider.h"
#include "shelf/ShelfDragOut.h"
#include "platform/QmlInstances.h"

#include <QDir>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

#include <memory>

namespace talvo::test {

// A QML view of the module (by default the notch's root view in a window of
// the notch window's size) over a plain desktop colour, with the real view
// model, window controller and greeting behind it and every platform service
// faked. Time of the view model and the controller is virtual; the view's own
// animations run in real time.
struct NotchViewRig : FakeNotchServices
{
    explicit NotchViewRig(const ScreenInfo &screen, const QColor &desktop, QJsonObject prefs = {},
                          const QByteArray &qml = "NotchShelfView { width: 860; height: 250 }",
                          QSize size = QSize(860, 250))
        : FakeNotchServices(std::move(prefs), {screen})
    {
        // Where the module's QML files live in the resources.
        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        linkShelfDragOut(dragOut, vm, *controller);
        provideToQml(engine, &vm);
        provideToQml(engine, &preferences);
        provideToQml(engine, controller.get());
        provideToQml(engine, &greeting);
        provideToQml(engine, &dragOut);
        engine.addImageProvider(QStringLiteral("shelf"), new FunctionImageProvider([this](const QString &id, QSize) {
            return vm.items()->icon(id, 40);
        }));

        view.resize(size);
        view.setColor(desktop);
        QQmlComponent component(&engine);
        component.setData("import Talvo\n" + qml + '\n', QUrl());
        root.reset(qobject_cast<QQuickItem *>(component.create()));
        if (!root)
            qWarning() << component.errorString();
        else
            root->setParentItem(view.contentItem());
        view.show();
    }
    ~NotchViewRig()
    {
        root.reset();
        // One more frame lets the scene graph let go of the textures.
        QTest::qWait(50);
    }

    // The view is on screen.
    bool ready() { return root && QTest::qWaitForWindowExposed(&view); }
    NotchShelfLayout *layout() const { return root->property("layout").value<NotchShelfLayout *>(); }
    QQuickItem *body() const { return root->property("body").value<QQuickItem *>(); }

    // Waits until the body's springs have come to rest on the layout's numbers
    // and the content layers have finished fading.
    bool settle()
    {
        QQuickItem *b = body();
        NotchShelfLayout *l = layout();
        const bool rested = QTest::qWaitFor(
            [&] {
                return b->width() == l->notchWidth() && b->height() == l->notchHeight()
                       && b->property("bottomRadius").toReal() == l->bottomRadius()
                       && b->property("cornerRadius").toReal() == l->cornerRadius()
                       && b->property("blackOpacity").toReal() == l->blackOpacity();
            },
            3000);
        QTest::qWait(600);
        return rested;
    }

    QImage grab()
    {
        QImage image = view.grabWindow();
        if (const QByteArray dir = qgetenv("TALVO_SCREENSHOT_DIR"); !dir.isEmpty()) {
            const QString name = QString::fromLatin1(QTest::currentTestFunction()) + QLatin1Char('-')
                                 + QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('-'));
            image.save(QDir(QString::fromLocal8Bit(dir)).filePath(name + QStringLiteral(".png")));
        }
        return image;
    }

    NotchGreetingSequence greeting{scheduler};
    FakeDragSessions sessions;
    ShelfDragOut dragOut{vm.items(), sessions, types};
    QQmlEngine engine;
    QQuickWindow view;
    std::unique_ptr<QQuickItem> root;
};

} // namespace talvo::test
