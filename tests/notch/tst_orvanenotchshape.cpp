#include "notch/OrvaneNotchShape.h"
#include "ui/ContinuousRoundedRectangle.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>

using namespace talvo;
using Kind = OutlinePath::Step::Kind;

namespace {

OutlinePath::Step move(qreal x, qreal y)
{
    return {Kind::Move, {x, y}, {}, {}};
}
OutlinePath::Step line(qreal x, qreal y)
{
    return {Kind::Line, {x, y}, {}, {}};
}
OutlinePath::Step quad(qreal cx, qreal cy, qreal x, qreal y)
{
    return {Kind::Quad, {x, y}, {cx, cy}, {}};
}

OutlinePath notchOutline(const QRectF &rect, qreal top, qreal bottom)
{
    OrvaneNotchShape shape;
    shape.setTopRadius(top);
    shape.setBottomRadius(bottom);
    return shape.outline(rect);
}

} // namespace

Q_DECLARE_METATYPE(OutlinePath::Step)

class TestOrvaneNotchShape : public QObject
{
    Q_OBJECT
private slots:
    void buildsTheNineStepsInOrder()
    {
        // minX 10, maxX 210, minY 5, maxY 45; t = 12, b = 16.
        const OutlinePath path = notchOutline(QRectF(10, 5, 200, 40), 12, 16);
        const QList<OutlinePath::Step> expected{
            move(10, 5),                 // top-left corner
            quad(22, 5, 22, 17),         // left ear
            line(22, 29),                // left side
            quad(22, 45, 38, 45),        // bottom-left corner
            line(182, 45),               // bottom edge
            quad(198, 45, 198, 29),      // bottom-right corner
            line(198, 17),               // right side
            quad(198, 5, 210, 5),        // right ear
            line(10, 5),                 // back along the top edge, no close
        };
        QCOMPARE(path.steps(), expected);
    }

    // The ears flare out of the top edge; below them the body is inset by the
    // top radius on both sides.
    void fillsTheBodyAndTheEars_data()
    {
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<bool>("inside");

        // 200 × 60, t = 12, b = 32.
        QTest::newRow("centre") << QPointF(100, 30) << true;
        QTest::newRow("under the top edge at the left end of the ear") << QPointF(6, 0.5) << true;
        QTest::newRow("outside the left ear's curve") << QPointF(1, 10) << false;
        QTest::newRow("left of the body below the ears") << QPointF(8, 40) << false;
        QTest::newRow("cut off by the bottom-left corner") << QPointF(14, 58) << false;
        QTest::newRow("under the top edge at the right end") << QPointF(194, 0.5) << true;
    }
    void fillsTheBodyAndTheEars()
    {
        QFETCH(QPointF, point);
        QFETCH(bool, inside);
        const QPainterPath path = notchOutline(QRectF(0, 0, 200, 60), 12, 32).toPainterPath();
        QCOMPARE(path.contains(point), inside);
    }

    // An overshooting spring may ask for radii the rectangle cannot hold; the
    // outline must then stay a simple shape inside the rectangle.
    void oversizedRadiiStayInsideTheRectangle_data()
    {
        QTest::addColumn<QRectF>("rect");
        QTest::addColumn<qreal>("top");
        QTest::addColumn<qreal>("bottom");

        QTest::newRow("bottom radius taller than the body") << QRectF(0, 0, 185, 20) << 12.0 << 32.0;
        QTest::newRow("radii wider than the body") << QRectF(0, 0, 40, 200) << 12.0 << 32.0;
        QTest::newRow("top radius taller than the body") << QRectF(0, 0, 185, 8) << 12.0 << 12.0;
        QTest::newRow("empty rectangle") << QRectF(0, 0, 0, 0) << 12.0 << 32.0;
        QTest::newRow("negative radii") << QRectF(0, 0, 185, 24) << -5.0 << -5.0;
    }
    void oversizedRadiiStayInsideTheRectangle()
    {
        QFETCH(QRectF, rect);
        QFETCH(qreal, top);
        QFETCH(qreal, bottom);

        const OutlinePath path = notchOutline(rect, top, bottom);
        QCOMPARE(path.steps().size(), 9);
        for (const OutlinePath::Step &step : path.steps()) {
            for (QPointF p : {step.to, step.control1}) {
                QVERIFY2(p.x() >= rect.left() && p.x() <= rect.right(), qPrintable(QString::number(p.x())));
                QVERIFY2(p.y() >= rect.top() && p.y() <= rect.bottom(), qPrintable(QString::number(p.y())));
            }
        }
        // Left side never crosses the right side, the bottom never rises above the ears.
        const auto &s = path.steps();
        QVERIFY(s[2].to.x() <= s[6].to.x());
        QVERIFY(s[1].to.y() <= s[2].to.y());
        QVERIFY(s[4].to.x() >= s[3].to.x());
    }

    void animatingARadiusRepublishesThePath()
    {
        OrvaneNotchShape shape;
        shape.setWidth(185);
        shape.setHeight(32);
        QSignalSpy path(&shape, &OrvaneNotchShape::pathDataChanged);
        QSignalSpy bottom(&shape, &OrvaneNotchShape::bottomRadiusChanged);
        for (qreal r : {12.0, 13.5, 15.0, 15.0, 18.0})
            shape.setBottomRadius(r);
        QCOMPARE(bottom.count(), 4);
        QCOMPARE(path.count(), 4);
        // A change clamped away changes nothing drawn.
        shape.setHeight(10);
        path.clear();
        shape.setBottomRadius(40);
        QCOMPARE(path.count(), 0);
    }
};

class TestContinuousRoundedRectangle : public QObject
{
    Q_OBJECT
private slots:
    void shortWideRectangleIsACapsule()
    {
        ContinuousRoundedRectangle rect;
        rect.setRadius(16);
        const QPainterPath path = rect.outline(QRectF(0, 0, 185, 32)).toPainterPath();
        // A point on the left end's circle at 45° lies on the outline.
        const QPointF centre(16, 16);
        const QPointF onCircle = centre + QPointF(-16 * M_SQRT1_2, -16 * M_SQRT1_2);
        QVERIFY(path.contains(onCircle + QPointF(0.4, 0.4)));
        QVERIFY(!path.contains(onCircle - QPointF(0.4, 0.4)));
        QVERIFY(path.contains(QPointF(92, 0.5)));
        QVERIFY(!path.contains(QPointF(0.5, 0.5)));
    }

    void largeRectanglesEaseIntoTheirEdges()
    {
        ContinuousRoundedRectangle rect;
        rect.setRadius(32);
        const OutlinePath outline = rect.outline(QRectF(0, 0, 860, 174));
        // The top edge starts 1.25 radii in from the corner rather than one.
        QCOMPARE(outline.steps().first().to, QPointF(40, 0));
        const QPainterPath path = outline.toPainterPath();
        QVERIFY(path.contains(QPointF(430, 87)));
        QVERIFY(!path.contains(QPointF(2, 2)));
        QVERIFY(!path.contains(QPointF(858, 172)));
        QVERIFY(path.contains(QPointF(20, 20)));
    }

    void radiusGrowsWithoutJumps()
    {
        // Sweeping the radius through the capsule threshold moves every point a
        // little at a time.
        ContinuousRoundedRectangle shape;
        const QRectF rect(0, 0, 185, 40);
        shape.setRadius(10);
        OutlinePath previous = shape.outline(rect);
        for (qreal r = 10.25; r <= 24; r += 0.25) {
            shape.setRadius(r);
            const OutlinePath next = shape.outline(rect);
            for (qsizetype i = 0; i < next.steps().size(); ++i) {
                const QPointF d = next.steps()[i].to - previous.steps()[i].to;
                QVERIFY2(std::hypot(d.x(), d.y()) < 1.0, qPrintable(QStringLiteral("radius %1").arg(r)));
            }
            previous = next;
        }
    }
};

int main(int argc, char *argv[])
{
    int status = 0;
    {
        TestOrvaneNotchShape test;
        status |= QTest::qExec(&test, argc, argv);
    }
    {
        TestContinuousRoundedRectangle test;
        status |= QTest::qExec(&test, argc, argv);
    }
    return status;
}

#include "tst_orvanenotchshape.moc"
