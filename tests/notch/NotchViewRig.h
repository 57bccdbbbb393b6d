#pragma once

#include "app/Preferences.h"
#include "fakes/FakeApplicationCatalog.h"
#include "fakes/FakeContentTypes.h"
#include "fakes/FakeDragPasteboard.h"
#include "fakes/FakeEventMonitors.h"
#include "fakes/FakeHapticFeedback.h"
#include "fakes/FakeNotchWindowSurface.h"
#include "fakes/FakePointer.h"
#include "fakes/FakeScreens.h"
#include "fakes/FakeSoundPlayer.h"
#include "fakes/FakeThumbnailer.h"
#include "fakes/MemoryPreferencesStorage.h"
#include "fakes/VirtualScheduler.h"
#include "fakes/VirtualTimerQueue.h"
#include "notch/NotchGreetingSequence.h"
#include "notch/NotchShelfLayout.h"
#include "notch/NotchViewModel.h"
#include "notch/NotchWindowController.h"
#include "platform/SystemEvents.h"
#include "ui/QmlInstances.h"

#include <QDir>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

#include <memory>

namespace talvo::test {

// The notch's root view in a window of the notch window's size, over a plain
// desktop colour, with the real view model, window controller and greeting
// behind it and every platform service faked. Time of the view model and the
// controller is virtual; the view's own animations run in real time.
struct NotchViewRig
{
    explicit NotchViewRig(const ScreenInfo &screen, const QColor &desktop, QJsonObject prefs = {})
        : storage(std::move(prefs)), screens({screen})
    {
        controller = std::make_unique<NotchWindowController>(
            vm, preferences, NotchPlatform{scheduler, queue, screens, pointer, monitors, drag, surface, system, haptics});
        // Where the module's QML files live in the resources.
        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        provideToQml(engine, &vm);
        provideToQml(engine, &preferences);
        provideToQml(engine, controller.get());
        provideToQml(engine, &greeting);

        window.resize(860, 250);
        window.setColor(desktop);
        QQmlComponent component(&engine);
        component.setData("import Talvo\nNotchShelfView {}\n", QUrl());
        root.reset(qobject_cast<QQuickItem *>(component.create()));
        if (!root)
            qWarning() << component.errorString();
        else {
            root->setParentItem(window.contentItem());
            root->setSize(QSizeF(860, 250));
        }
        window.show();
    }
    ~NotchViewRig() { root.reset(); }

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
        QImage image = window.grabWindow();
        if (const QByteArray dir = qgetenv("TALVO_SCREENSHOT_DIR"); !dir.isEmpty()) {
            const QString name = QString::fromLatin1(QTest::currentTestFunction()) + QLatin1Char('-')
                                 + QString::fromLatin1(QTest::currentDataTag()).replace(QLatin1Char(' '), QLatin1Char('-'));
            image.save(QDir(QString::fromLocal8Bit(dir)).filePath(name + QStringLiteral(".png")));
        }
        return image;
    }

    VirtualScheduler scheduler;
    VirtualTimerQueue queue{scheduler};
    MemoryPreferencesStorage storage;
    Preferences preferences{storage};
    FakeContentTypes types;
    FakeThumbnailer thumbnails;
    FakeSoundPlayer sounds;
    FakeApplicationCatalog apps;
    NotchViewModel vm{scheduler, preferences, types, thumbnails, sounds, apps};
    FakeScreens screens;
    FakePointer pointer;
    FakeEventMonitors monitors;
    FakeDragPasteboard drag;
    FakeNotchWindowSurface surface;
    SystemEvents system;
    FakeHapticFeedback haptics;
    std::unique_ptr<NotchWindowController> controller;
    NotchGreetingSequence greeting{scheduler};
    QQmlEngine engine;
    QQuickWindow window;
    std::unique_ptr<QQuickItem> root;
};

} // namespace talvo::test
