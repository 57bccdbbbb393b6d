#pragma once

#include <QPointF>
#include <QSizeF>
#include <QUuid>
#include <QVariantMap>

class QRandomGenerator;

namespace talvo {

// One streak of the rain scene: where it falls, how long, fast, bright and
// late it is. `x` is a fraction of the rain area's width; lengths are points,
// times seconds.
struct RainDrop
{
    struct Range
    {
        double low;
        double high;
    };
    static constexpr Range kX{-0.1, 1.1};
    static constexpr Range kLength{12, 26};
    static constexpr Range kSpeed{1.4, 2.2};
    static constexpr Range kOpacity{0.15, 0.45};
    static constexpr Range kDelay{0, 2};

    // The streak's sideways drift over one fall, and how far above the top
    // and below the bottom it starts and ends.
    static constexpr double kDrift = 12;
    static constexpr double kOverhang = 20;

    // A drop with each field drawn on its own, uniformly over its closed range.
    static RainDrop random(QRandomGenerator &random);
    // A uniform draw over [low, high], both ends included.
    static double uniform(QRandomGenerator &random, Range range);

    // The streak's centre in an area of `area` before the fall (`falling`
    // false) and after it (true).
    QPointF centre(QSizeF area, bool falling) const;
    QVariantMap toVariant() const;

    QUuid id;
    double x = 0;
    double length = 0;
    double speed = 0;
    double opacity = 0;
    double delay = 0;
};

} // namespace talvo
