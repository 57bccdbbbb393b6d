#include "ui/SpringMotion.h"
#include "ui/Springs.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

#include <cmath>

Q_IMPORT_QML_PLUGIN(TalvoPlugin)

using namespace talvo;

namespace {

// What QML's SpringAnimation does with the parameters, step by step: a move
// from 0 to 1 from rest, sampled every 16 ms.
QList<qreal> integrateLikeSpringAnimation(const SpringMotion &motion, int steps)
{
    QList<qreal> values;
    qreal value = 0;
    qreal velocity = 0;
    for (int i = 0; i < steps; ++i) {
        const qreal diff = 1 - value;
        velocity = velocity + (motion.spring() * diff - motion.damping() * velocity) / motion.mass();
        value += velocity * SpringMotion::kStepSeconds;
        values.append(value);
    }
    return values;
}

} // namespace

class TestSpringMotion : public QObject
{
    Q_OBJECT
private slots:

    // The animation engine's steps must follow the spring the design asked
    // for: same overshoot, same pace, same settling time.
    void springAnimationFollowsTheExactMotion_data()
    {
        QTest::addColumn<SpringMotion>("motion");
        QTest::newRow("notch") << Springs::notch();
        QTest::newRow("greeting") << Springs::greeting();
        QTest::newRow("critically damped") << SpringMotion::fromResponse(0.3, 1.0);
        QTest::newRow("overdamped") << SpringMotion::fromResponse(0.3, 1.5);
    }
    void springAnimationFollowsTheExactMotion()
    {
        QFETCH(SpringMotion, motion);
        const QList<qreal> steps = integrateLikeSpringAnimation(motion, 150);
        qreal worst = 0;
        for (int i = 0; i < steps.size(); ++i)
            worst = std::max(worst, std::abs(steps[i] - motion.progressAt((i + 1) * SpringMotion::kStepSeconds)));
        // The first step starts at full pull (the exact spring eases in); the
        // gap that leaves closes as the modes, which match, take over.
        QVERIFY2(worst < 0.1, qPrintable(QStringLiteral("largest gap %1").arg(worst)));

        // Settled in the engine within two steps of when the exact motion settles.
        int settledStep = int(steps.size());
        for (int i = int(steps.size()) - 1; i >= 0 && std::abs(1 - steps[i]) <= SpringMotion::kSettledFraction; --i)
            settledStep = i;
        const qreal engineMs = (settledStep + 1) * SpringMotion::kStepSeconds * 1000;
        QVERIFY(motion.settleMs() > 0);
        QVERIFY2(std::abs(engineMs - motion.settleMs()) <= 32,
                 qPrintable(QStringLiteral("engine %1 ms, exact %2 ms").arg(engineMs).arg(motion.settleMs())));
    }

    void springAnimationCanUseEveryNamedSpring()
    {
        // SpringAnimation caps damping at 1 and treats spring 0 as "jump".
        for (const SpringMotion &m : {Springs::notch(), Springs::dragState(), Springs::tabSwitch(), Springs::shelf(),
                                      Springs::dropTargetSymbol(), Springs::greeting()}) {
            QVERIFY(m.spring() > 0);
            QVERIFY(m.damping() > 0 && m.damping() < 1);
        }
    }

    void degenerateInputsArriveAtOnce()
    {
        for (const SpringMotion &m : {SpringMotion::fromResponse(0, 0.7), SpringMotion::fromResponse(-1, 0.7),
                                      SpringMotion::fromPhysics(0, 300, 20), SpringMotion::fromPhysics(1, -5, 20)}) {
            const QList<qreal> steps = integrateLikeSpringAnimation(m, 3);
            QVERIFY(std::abs(1 - steps.last()) < 0.01);
            QVERIFY(m.settleMs() <= 32);
        }
    }

    void qmlSeesTheSameSprings()
    {
        QQmlEngine engine;
        QQmlComponent component(&engine);
        // Any type of the module will do as the root; this one needs no other module.
        component.setData("import Talvo\nPreferenceValue {\n"
                          "  property real spring: Springs.notch.spring\n"
                          "  property real damping: Springs.notch.damping\n"
                          "  property real custom: Springs.motion(0.2, 0.7).spring\n"
                          "  property int settle: Springs.greeting.settleMs\n}",
                          QUrl());
        std::unique_ptr<QObject> object(component.create());
        QVERIFY2(object, qPrintable(component.errorString()));
        QCOMPARE(object->property("spring").toReal(), Springs::notch().spring());
        QCOMPARE(object->property("damping").toReal(), Springs::notch().damping());
        QCOMPARE(object->property("custom").toReal(), SpringMotion::fromResponse(0.2, 0.7).spring());
        QCOMPARE(object->property("settle").toInt(), Springs::greeting().settleMs());
    }
};

QTEST_GUILESS_MAIN(TestSpringMotion)
#include "tst_springmotion.moc"
