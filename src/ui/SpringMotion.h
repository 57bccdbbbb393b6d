#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

namespace talvo {

// A spring described the way designers give it (a response in seconds and a
// damping fraction, 1 being critical damping), turned into what QML's
// SpringAnimation integrates. Every spring of the program goes through here so
// that a spring with the same response and damping moves the same way
// everywhere.
//
// SpringAnimation advances in fixed 16 ms steps:
//     velocity += spring * (target - value) - damping * velocity
//     value    += velocity * 0.016
// Reading spring = k·h and damping = c·h (h = 0.016 s) off the equation
// x'' = k (target - x) - c x' makes the steps ring faster and die out slower
// than the real spring at the stiffness of the notch's springs. Instead the two
// numbers are chosen so that the step's own decay and oscillation per 16 ms
// equal the exact spring's over 16 ms; the animation then keeps the spring's
// period, overshoot and settling time. Its `epsilon` depends on the animated
// quantity (a pixel, a scale) and is left to the view.
class SpringMotion
{
    Q_GADGET
    QML_VALUE_TYPE(springMotion)
    Q_PROPERTY(qreal spring READ spring CONSTANT)
    Q_PROPERTY(qreal damping READ damping CONSTANT)
    Q_PROPERTY(qreal mass READ mass CONSTANT)
    Q_PROPERTY(int settleMs READ settleMs CONSTANT)

public:
    // The animation engine's integration step, in seconds.
    static constexpr qreal kStepSeconds = 0.016;
    // A motion counts as settled once it stays this close to its target, as a
    // fraction of the distance travelled.
    static constexpr qreal kSettledFraction = 0.005;

    SpringMotion() = default;

    // response: seconds of one undamped oscillation; dampingFraction: 1 is
    // critical, below 1 overshoots. Non-positive responses give a spring that
    // arrives in one step.
    static SpringMotion fromResponse(qreal response, qreal dampingFraction);
    // The physical description: mass, stiffness (N/m) and damping (N·s/m).
    static SpringMotion fromPhysics(qreal mass, qreal stiffness, qreal damping);

    // Per unit mass, in 1/s² and 1/s.
    qreal stiffness() const { return m_stiffness; }
    qreal dampingCoefficient() const { return m_damping; }
    qreal dampingFraction() const;

    // SpringAnimation's parameters.
    qreal spring() const;
    qreal damping() const;
    qreal mass() const { return 1.0; }

    // Share of the distance covered `seconds` after a move from rest begins
    // (0 at the start, 1 at the target; above 1 while overshooting), from the
    // exact solution of the spring's equation.
    qreal progressAt(qreal seconds) const;
    // Milliseconds after which the motion stays within kSettledFraction.
    int settleMs() const;

    bool operator==(const SpringMotion &) const = default;

private:
    qreal m_stiffness = 0;
    qreal m_damping = 0;
    // Jumps to its target in one step (a zero response or a massless spring).
    bool m_instant = false;
};

} // namespace talvo
