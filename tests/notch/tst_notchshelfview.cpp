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
#include "platform/linux/FunctionImageProvider.h"
#include "shelf/ShelfDragOut.h"
#include "fakes/FakeDragSessions.h"
#include "ui/QmlInstances.h"

#include <QDir>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(TalvoPlugin)

using namespace talvo;

namespace {

const QRectF kScreen(0, 0, 1512, 982);
// A notched laptop: the collapsed body is 204 × 38.
const ScreenInfo kHousing = FakeScreens::screen(1, kScreen).withCameraHousing({200, 38});
const QColor kDesktop(90, 140, 220);

// The root view in a window of the notch window's size, over a plain desktop
// colour, with the real view model, window controller and greeting behind it.
struct ViewRig
{
    explicit ViewRig(QJsonObject prefs = {}) : storage(std::move(prefs))
    {
        controller = std::make_unique<NotchWindowController>(
            vm, preferences, NotchPlatform{scheduler, queue, screens, pointer, monitors, drag, surface, system, haptics});
        // Where the module's QML files live in the resources.
        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        provideToQml(engine, &vm);
        provideToQml(engine, &preferences);
        provideToQml(engine, controller.get());
        provideToQml(engine, &greeting);
        provideToQml(engine, &dragOut);
        engine.addImageProvider(QStringLiteral("shelf"), new FunctionImageProvider([this](const QString &id, QSize) {
            return vm.items()->icon(id, 40);
        }));

        window.resize(860, 250);
        window.setColor(kDesktop);
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
    ~ViewRig() { root.reset(); }

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
    FakeScreens screens{{kHousing}};
    FakePointer pointer;
    FakeEventMonitors monitors;
    FakeDragPasteboard drag;
    FakeNotchWindowSurface surface;
    SystemEvents system;
    FakeHapticFeedback haptics;
    std::unique_ptr<NotchWindowController> controller;
    NotchGreetingSequence greeting{scheduler};
    FakeDragSessions sessions;
    ShelfDragOut dragOut{&vm, controller.get(), sessions, types};
    QQmlEngine engine;
    QQuickWindow window;
    std::unique_ptr<QQuickItem> root;
};

// The desktop is bluer than anything else on screen, so the blue channel
// tells how much of a pixel the black body covers.
int coverageThreshold(qreal coverage)
{
    return int(kDesktop.blue() * (1 - coverage));
}

// Leftmost and rightmost pixel of a row covered at least `coverage`; {-1, -1} when none.
std::pair<int, int> rowExtent(const QImage &image, int y, qreal coverage)
{
    const int threshold = coverageThreshold(coverage);
    int left = -1, right = -1;
    for (int x = 0; x < image.width(); ++x) {
        if (qBlue(image.pixel(x, y)) < threshold) {
            if (left < 0)
                left = x;
            right = x;
        }
    }
    return {left, right};
}

int widthOf(std::pair<int, int> extent)
{
    return extent.first < 0 ? 0 : extent.second - extent.first + 1;
}

// The black body as it appears on screen. A third covered counts as body;
// the soft shadow darkens the desktop by far less.
struct Measured
{
    int topWidth = 0; // the top row: where the ears meet the top edge
    int widest = 0;   // the widest row
    int height = 0;   // rows from the top edge down to the last body row
    int midWidth = 0; // the row half-way down
    int centreX = 0;  // middle of that row
};

Measured measure(const QImage &image)
{
    Measured m;
    // The ears meet the top edge at a tangent, so their last pixels are only
    // faintly covered.
    m.topWidth = widthOf(rowExtent(image, 0, 0.15));
    int lastRow = -1;
    for (int y = 0; y < image.height(); ++y) {
        const int w = widthOf(rowExtent(image, y, 0.34));
        if (w > 0)
            lastRow = y;
        m.widest = std::max(m.widest, w);
    }
    m.height = lastRow + 1;
    const auto mid = rowExtent(image, std::max(m.height / 2, 0), 0.34);
    m.midWidth = widthOf(mid);
    m.centreX = (mid.first + mid.second + 1) / 2;
    return m;
}

} // namespace

class TestNotchShelfView : public QObject
{
    Q_OBJECT
private slots:
    // Each state's body, as drawn, has the size the layout computed: its
    // widest row spans the body (ears included), half-way down it is inset by
    // the top radius on both sides, and it reaches down to the body's height.
    void drawnBodyMatchesTheNumbers_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");

        QTest::newRow("bare") << "bare" << 204 << 38;
        QTest::newRow("hover peek") << "hover" << 254 << 46;
        QTest::newRow("file drag hint") << "fileDrag" << 320 << 115;
        QTest::newRow("drop target") << "dropTarget" << 320 << 115;
        QTest::newRow("shelf strip") << "shelfStrip" << 315 << 160;
        QTest::newRow("greeting") << "greeting" << 320 << 103;
    }
    void drawnBodyMatchesTheNumbers()
    {
        QFETCH(QString, state);
        QFETCH(int, width);
        QFETCH(int, height);

        ViewRig rig;
        QVERIFY(rig.root);
        QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
        if (state == QLatin1String("hover")) {
            rig.vm.setIsHovering(true);
        } else if (state == QLatin1String("fileDrag")) {
            rig.vm.setIsFileDragActive(true);
        } else if (state == QLatin1String("dropTarget")) {
            rig.vm.setIsFileDragActive(true);
            rig.vm.setIsDragTargetActive(true);
        } else if (state == QLatin1String("shelfStrip")) {
            for (const char *text : {"first note", "second note", "third note"})
                rig.vm.addText(QString::fromLatin1(text));
            rig.scheduler.runPending();
            rig.vm.setIsShelfItemDragActive(true);
        } else if (state == QLatin1String("greeting")) {
            rig.controller->showOnboardingGreeting();
        }
        QCOMPARE(rig.layout()->notchWidth(), qreal(width));
        QCOMPARE(rig.layout()->notchHeight(), qreal(height));
        QVERIFY(rig.settle());
        if (state == QLatin1String("greeting")) {
            rig.scheduler.advance(1300);
            QCOMPARE(rig.greeting.currentGreeting(), QStringLiteral("hola"));
            QTest::qWait(600);
        }

        const Measured m = measure(rig.grab());
        const qreal t = rig.layout()->topRadius();
        // The ears leave the top edge at a tangent: their outermost few pixels
        // are barely covered.
        QVERIFY2(m.topWidth <= width && m.topWidth >= width - 7, qPrintable(QString::number(m.topWidth)));
        QVERIFY2(std::abs(m.height - height) <= 1, qPrintable(QString::number(m.height)));
        QVERIFY2(std::abs(m.midWidth - (width - 2 * t)) <= 2, qPrintable(QString::number(m.midWidth)));
        QVERIFY2(std::abs(m.centreX - 430) <= 1, qPrintable(QString::number(m.centreX)));
    }

    void floatingStyleIsAPill()
    {
        ViewRig rig(QJsonObject{{QStringLiteral("shelfStyle"), QStringLiteral("floating")}});
        QVERIFY(rig.root);
        QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
        QVERIFY(rig.layout()->isFloating());
        QVERIFY(rig.settle());
        const Measured m = measure(rig.grab());
        // 204 × 32 with fully round ends: no ears, no inset.
        QVERIFY2(std::abs(m.widest - 204) <= 2, qPrintable(QString::number(m.widest)));
        QVERIFY2(std::abs(m.height - 32) <= 1, qPrintable(QString::number(m.height)));
        QVERIFY2(std::abs(m.midWidth - 204) <= 2, qPrintable(QString::number(m.midWidth)));
    }

    void tapOnThePeekingNotchOpensIt()
    {
        ViewRig rig;
        QVERIFY(rig.root);
        QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
        QTest::mouseClick(&rig.window, Qt::LeftButton, {}, QPoint(430, 10));
        QVERIFY(!rig.vm.isFullyExpanded()); // not hovering: nothing

        rig.vm.setIsHovering(true);
        QVERIFY(rig.settle());
        QTest::mouseClick(&rig.window, Qt::LeftButton, {}, QPoint(430, 10));
        QVERIFY(rig.vm.isFullyExpanded());
        QCOMPARE(rig.layout()->contentLayout(), NotchShelfLayout::ContentLayout::Panel);
        QCOMPARE(rig.layout()->notchWidth(), 860.0);
    }

    void clearButtonEmptiesTheShelf()
    {
        ViewRig rig;
        QVERIFY(rig.root);
        QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
        rig.vm.addText(QStringLiteral("one"));
        rig.vm.addText(QStringLiteral("two"));
        rig.scheduler.runPending();
        rig.vm.setIsShelfItemDragActive(true);
        QVERIFY(rig.settle());
        // "Clear" sits at the trailing end of the header, 14 in from the body's side.
        const qreal bodyRight = 430 + rig.layout()->notchWidth() / 2 - rig.layout()->topRadius();
        const int headerY = int(rig.layout()->baseNotchHeight()) + 11;
        QTest::mouseClick(&rig.window, Qt::LeftButton, {}, QPoint(int(bodyRight - 14 - 10), headerY));
        QVERIFY(rig.vm.itemList().isEmpty());
    }

    void toastHangsBelowTheCollapsedBand()
    {
        ViewRig rig;
        QVERIFY(rig.root);
        QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
        rig.vm.showToast(QStringLiteral("Event added"), ToastStyle::Success);
        rig.scheduler.runPending();
        QVERIFY(rig.vm.showLimitReachedToast());
        QVERIFY(rig.settle());
        // The controller learns where the toast is, for windows without compositing.
        const QRectF toast = rig.controller->toastRect();
        QVERIFY(!toast.isEmpty());
        QVERIFY(toast.bottom() > rig.layout()->toastTopPadding());
        const QImage image = rig.grab();
        // Between the body and the capsule the desktop shows; the capsule is darker.
        const int y = int(rig.layout()->toastTopPadding()) + 12;
        QCOMPARE(QColor(image.pixel(430, int(rig.layout()->notchHeight()) + 4)).blue() > 150, true);
        QVERIFY(QColor(image.pixel(int(toast.center().x()), y)).blue() < 180);

        rig.scheduler.advance(2000);
        QVERIFY(!rig.vm.showLimitReachedToast());
        QTRY_VERIFY(rig.controller->toastRect().isEmpty());
    }
};

QTEST_MAIN(TestNotchShelfView)
#include "tst_notchshelfview.moc"
