#pragma once

#include <QList>
#include <QPainterPath>
#include <QPointF>
#include <QString>

namespace talvo {

// An outline as the exact steps that build it. QPainterPath stores quadratic
// curves as cubic ones, so shapes whose steps matter (and the SVG path data
// that Qt Quick Shapes draws) keep their own list.
class OutlinePath
{
public:
    struct Step
    {
        enum class Kind { Move, Line, Quad, Cubic };
        Kind kind = Kind::Move;
        QPointF to;
        QPointF control1; // Quad and Cubic
        QPointF control2; // Cubic

        bool operator==(const Step &) const = default;
    };

    void moveTo(QPointF to) { m_steps.append({Step::Kind::Move, to, {}, {}}); }
    void lineTo(QPointF to) { m_steps.append({Step::Kind::Line, to, {}, {}}); }
    void quadTo(QPointF control, QPointF to) { m_steps.append({Step::Kind::Quad, to, control, {}}); }
    void cubicTo(QPointF c1, QPointF c2, QPointF to) { m_steps.append({Step::Kind::Cubic, to, c1, c2}); }

    const QList<Step> &steps() const { return m_steps; }
    // The path of the first `count` steps.
    OutlinePath first(qsizetype count) const
    {
        OutlinePath path;
        path.m_steps = m_steps.first(qBound<qsizetype>(0, count, m_steps.size()));
        return path;
    }
    QPainterPath toPainterPath() const;
    // "M x y Q cx cy x y L x y ..." in logical pixels, two decimals.
    QString toSvgPathData() const;

    bool operator==(const OutlinePath &) const = default;

private:
    QList<Step> m_steps;
};

} // namespace talvo
