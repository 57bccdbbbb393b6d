#include "OutlinePath.h"

namespace talvo {

namespace {

void appendPoint(QString &out, QPointF p)
{
    out += QString::number(p.x(), 'f', 2);
    out += QLatin1Char(' ');
    out += QString::number(p.y(), 'f', 2);
}

} // namespace

QPainterPath OutlinePath::toPainterPath() const
{
    QPainterPath path;
    for (const Step &step : m_steps) {
        switch (step.kind) {
        case Step::Kind::Move:
            path.moveTo(step.to);
            break;
        case Step::Kind::Line:
            path.lineTo(step.to);
            break;
        case Step::Kind::Quad:
            path.quadTo(step.control1, step.to);
            break;
        case Step::Kind::Cubic:
            path.cubicTo(step.control1, step.control2, step.to);
            break;
        }
    }
    return path;
}

QString OutlinePath::toSvgPathData() const
{
    QString out;
    out.reserve(m_steps.size() * 24);
    for (const Step &step : m_steps) {
        if (!out.isEmpty())
            out += QLatin1Char(' ');
        switch (step.kind) {
        case Step::Kind::Move:
            out += QLatin1String("M ");
            break;
        case Step::Kind::Line:
            out += QLatin1String("L ");
            break;
        case Step::Kind::Quad:
            out += QLatin1String("Q ");
            appendPoint(out, step.control1);
            out += QLatin1Char(' ');
            break;
        case Step::Kind::Cubic:
            out += QLatin1String("C ");
            appendPoint(out, step.control1);
            out += QLatin1Char(' ');
            appendPoint(out, step.control2);
            out += QLatin1Char(' ');
            break;
        }
        appendPoint(out, step.to);
    }
    return out;
}

} // namespace talvo
