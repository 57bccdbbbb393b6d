#include "RainDrop.h"

#include <QRandomGenerator>

namespace talvo {

double RainDrop::uniform(QRandomGenerator &random, Range range)
{
    // 2^32 + 1 equally likely steps from 0 to 1, so both ends can come up.
    constexpr quint64 steps = quint64(1) << 32;
    const double fraction = double(random.bounded(steps + 1)) / double(steps);
    return range.low + (range.high - range.low) * fraction;
}

RainDrop RainDrop::random(QRandomGenerator &random)
{
    RainDrop drop;
    drop.id = QUuid::createUuid();
    drop.x = uniform(random, kX);
    drop.length = uniform(random, kLength);
    drop.speed = uniform(random, kSpeed);
    drop.opacity = uniform(random, kOpacity);
    drop.delay = uniform(random, kDelay);
    return drop;
}

QPointF RainDrop::centre(QSizeF area, bool falling) const
{
    if (falling)
        return {x * area.width() + kDrift, length + area.height() + kOverhang};
    return {x * area.width() - kDrift, -kOverhang - length};
}

QVariantMap RainDrop::toVariant() const
{
    return {{QStringLiteral("id"), id.toString(QUuid::WithoutBraces)},
            {QStringLiteral("x"), x},
            {QStringLiteral("length"), length},
            {QStringLiteral("speed"), speed},
            {QStringLiteral("opacity"), opacity},
            {QStringLiteral("delay"), delay}};
}

} // namespace talvo
