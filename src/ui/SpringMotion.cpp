#include "SpringMotion.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace talvo {

SpringMotion SpringMotion::fromResponse(qreal response, qreal dampingFraction)
{
    SpringMotion motion;
    if (!(response > 0)) {
        motion.m_instant = true;
        return motion;
    }
    const qreal omega = 2 * std::numbers::pi / response;
    motion.m_stiffness = omega * omega;
    motion.m_damping = 2 * std::max<qreal>(dampingFraction, 0) * omega;
    return motion;
}

SpringMotion SpringMotion::fromPhysics(qreal mass, qreal stiffness, qreal damping)
{
    if (!(mass > 0) || !(stiffness > 0))
        return fromResponse(0, 1);
    SpringMotion motion;
    motion.m_stiffness = stiffness / mass;
    motion.m_damping = std::max<qreal>(damping, 0) / mass;
    return motion;
}

qreal SpringMotion::dampingFraction() const
{
    return m_stiffness > 0 ? m_damping / (2 * std::sqrt(m_stiffness)) : 1;
}

// One step maps (offset, velocity) linearly; its matrix has determinant
// 1 - damping and trace 2 - spring·h - damping. The exact spring's 16 ms map has
// determinant exp(-c·h) and trace e^(λ1·h) + e^(λ2·h) over its two modes λ.
// Equal determinant and trace give equal modes.
qreal SpringMotion::damping() const
{
    if (m_instant)
        return 1.0;
    return 1 - std::exp(-m_damping * kStepSeconds);
}

qreal SpringMotion::spring() const
{
    if (m_instant)
        return 1.0 / kStepSeconds; // the first step lands on the target
    const qreal h = kStepSeconds;
    const qreal omega = std::sqrt(m_stiffness);
    const qreal zeta = dampingFraction();
    qreal modeSum = 0;
    if (zeta < 1) {
        const qreal omegaD = omega * std::sqrt(1 - zeta * zeta);
        modeSum = 2 * std::exp(-zeta * omega * h) * std::cos(omegaD * h);
    } else {
        const qreal root = omega * std::sqrt(zeta * zeta - 1);
        modeSum = std::exp((-zeta * omega + root) * h) + std::exp((-zeta * omega - root) * h);
    }
    return (2 - damping() - modeSum) / h;
}

qreal SpringMotion::progressAt(qreal seconds) const
{
    if (seconds <= 0)
        return 0;
    if (m_instant)
        return 1;
    const qreal omega = std::sqrt(m_stiffness);
    const qreal zeta = dampingFraction();
    const qreal t = seconds;
    if (zeta < 1 - 1e-9) {
        const qreal omegaD = omega * std::sqrt(1 - zeta * zeta);
        const qreal decay = std::exp(-zeta * omega * t);
        return 1 - decay * (std::cos(omegaD * t) + zeta * omega / omegaD * std::sin(omegaD * t));
    }
    if (zeta <= 1 + 1e-9)
        return 1 - std::exp(-omega * t) * (1 + omega * t);
    // Overdamped: two real roots r1 > r2 (both negative).
    const qreal root = omega * std::sqrt(zeta * zeta - 1);
    const qreal r1 = -zeta * omega + root;
    const qreal r2 = -zeta * omega - root;
    return 1 - (r2 * std::exp(r1 * t) - r1 * std::exp(r2 * t)) / (r2 - r1);
}

int SpringMotion::settleMs() const
{
    if (m_instant)
        return int(kStepSeconds * 1000);
    // The slowest decaying part of the motion bounds how long it can stay out
    // of the band; scan back from well beyond that for the last moment outside.
    const qreal omega = std::sqrt(m_stiffness);
    const qreal zeta = dampingFraction();
    const qreal slowestRate = zeta < 1 ? zeta * omega : omega * (zeta - std::sqrt(zeta * zeta - 1));
    if (!(slowestRate > 0))
        return std::numeric_limits<int>::max(); // undamped: never settles
    const int horizonMs = int(std::min<qreal>(12.0 / slowestRate, 60.0) * 1000) + 1;
    for (int ms = horizonMs; ms >= 0; --ms) {
        if (std::abs(1 - progressAt(ms / 1000.0)) > kSettledFraction)
            return ms + 1;
    }
    return 0;
}

} // namespace talvo
