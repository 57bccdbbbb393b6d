#include "e2e/NotchBodyMeasure.h"
#include "notch/NotchViewRig.h"

#include <QRegularExpression>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(TalvoPlugin)

using namespace talvo;
using ViewRig = test::NotchViewRig;

namespace {

const QRectF kScreen(0, 0, 1512, 982);
// A notched laptop: the collapsed body is 204 × 38.
const ScreenInfo kHousing = FakeScreens::screen(1, kScreen).withCameraHousing({200, 38});
const QColor kDesktop(90, 140, 220);

using Measured = test::NotchBodyMeasure::Result;
Measured measure(const QImage &image)
{
    return test::NotchBodyMeasure(kDesktop).measure(image);
}

} // namespace

class TestNotchShelfView : public QObject
{
    Q_OBJECT
private slots:
    // Each state's body, as drawn, has the size the layout computed: its top
    // row spans the body (ears included), half-way down it is inset by the top
    // radius on both sides, and it reaches down to the body's height.
    void drawnBodyMatchesTheNumbers_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");

        // The whole-app tests measure every layout on a screen without a housing.
        QTest::newRow("bare") << "bare" << 204 << 38;
        QTest::newRow("hover peek") << "hover" << 254 << 46;
        QTest::newRow("shelf strip") << "shelfStrip" << 315 << 160;
    }
    void drawnBodyMatchesTheNumbers()
    {
        QFETCH(QString, state);
        QFETCH(int, width);
        QFETCH(int, height);

        ViewRig rig(kHousing, kDesktop);
        QVERIFY(rig.ready());
        if (state == QLatin1String("hover")) {
            rig.vm.setIsHovering(true);
        } else if (state == QLatin1String("shelfStrip")) {
            for (const char *text : {"first note", "second note", "third note"})
                rig.vm.addItem(ShelfItem::makeText(QString::fromLatin1(text)));
            rig.scheduler.runPending();
            rig.vm.setIsShelfItemDragActive(true);
        }
        QCOMPARE(rig.layout()->notchWidth(), qreal(width));
        QCOMPARE(rig.layout()->notchHeight(), qreal(height));
        QVERIFY(rig.settle());

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
        ViewRig rig(kHousing, kDesktop, QJsonObject{{QStringLiteral("shelfStyle"), QStringLiteral("floating")}});
        QVERIFY(rig.ready());
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
        ViewRig rig(kHousing, kDesktop);
        QVERIFY(rig.ready());
        QTest::mouseClick(&rig.view, Qt::LeftButton, {}, QPoint(430, 10));
        QVERIFY(!rig.vm.isFullyExpanded()); // not hovering: nothing

        rig.vm.setIsHovering(true);
        QVERIFY(rig.settle());
        QTest::mouseClick(&rig.view, Qt::LeftButton, {}, QPoint(430, 10));
        QVERIFY(rig.vm.isFullyExpanded());
        QCOMPARE(rig.layout()->contentLayout(), NotchShelfLayout::ContentLayout::Panel);
        QCOMPARE(rig.layout()->notchWidth(), 860.0);
    }

    // The player arrives with its own work; a stand-in with the same members
    // drives the peek here.
    void nowPlayingPeekAndItsDismissal()
    {
        ViewRig rig(kHousing, kDesktop);
        QVERIFY(rig.ready());
        QQmlComponent component(&rig.engine);
        component.setData("import QtQuick\nQtObject {\n"
                          "  property bool isPlaying: true\n"
                          "  property bool isClosedForCurrentTrack: false\n"
                          "  property bool hasAlbumArt: false\n"
                          "  property var albumArt\n"
                          "  property bool hasAppIcon: false\n"
                          "  property var appIcon\n"
                          "  property string appName: \"Spotify\"\n"
                          "  function closeForCurrentTrack() { isClosedForCurrentTrack = true }\n}",
                          QUrl());
        std::unique_ptr<QObject> player(component.create());
        QVERIFY2(player, qPrintable(component.errorString()));
        rig.root->setProperty("nowPlaying", QVariant::fromValue(player.get()));

        QCOMPARE(rig.layout()->contentLayout(), NotchShelfLayout::ContentLayout::NowPlayingPeek);

        // Under the pointer the spectrum gives way to the close button at the
        // trailing end; it dismisses the peek for this track without opening.
        rig.vm.setIsHovering(true);
        QVERIFY(rig.settle());
        const qreal right = 430 + rig.layout()->notchWidth() / 2;
        const qreal rowCentre = rig.layout()->peekRowTopInset() + 11;
        QTest::mouseClick(&rig.view, Qt::LeftButton, {}, QPoint(int(right - 16 - 7), int(rowCentre)));
        QVERIFY(player->property("isClosedForCurrentTrack").toBool());
        QVERIFY(!rig.vm.isFullyExpanded());
        QCOMPARE(rig.layout()->contentLayout(), NotchShelfLayout::ContentLayout::Bare);
        QCOMPARE(rig.layout()->notchWidth(), 254.0);
        rig.root->setProperty("nowPlaying", QVariant::fromValue<QObject *>(nullptr));
    }

    void clearButtonEmptiesTheShelf()
    {
        ViewRig rig(kHousing, kDesktop);
        QVERIFY(rig.ready());
        rig.vm.addItem(ShelfItem::makeText(QStringLiteral("one")));
        rig.vm.addItem(ShelfItem::makeText(QStringLiteral("two")));
        rig.scheduler.runPending();
        rig.vm.setIsShelfItemDragActive(true);
        QVERIFY(rig.settle());
        // "Clear" sits at the trailing end of the header, 14 in from the body's side.
        const qreal bodyRight = 430 + rig.layout()->notchWidth() / 2 - rig.layout()->topRadius();
        const int headerY = int(rig.layout()->baseNotchHeight()) + 11;
        QTest::mouseClick(&rig.view, Qt::LeftButton, {}, QPoint(int(bodyRight - 14 - 10), headerY));
        QVERIFY(rig.vm.itemList().isEmpty());
    }

    // The drop hint settles at any height it is given, an unbounded one
    // included (its centring once chased the column's own height, and the
    // window spun on it for good).
    void dropHintSettlesAtAnyHeight_data()
    {
        QTest::addColumn<qreal>("height");
        QTest::newRow("drop target") << 120.0;
        QTest::newRow("unbounded") << qInf();
    }
    void dropHintSettlesAtAnyHeight()
    {
        QFETCH(qreal, height);
        ViewRig rig(kHousing, kDesktop, {}, "NotchDropTargetView { width: 300; height: 60; layout: NotchShelfLayout {} }",
                    QSize(300, 220));
        QVERIFY(rig.ready());
        QTest::failOnWarning(QRegularExpression(QStringLiteral("polish")));
        rig.root->setHeight(height);
        rig.grab();
    }

    void toastHangsBelowTheCollapsedBand()
    {
        ViewRig rig(kHousing, kDesktop);
        QVERIFY(rig.ready());
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
