#pragma once

#include "OutlineShape.h"

#include <QtQml/qqmlregistration.h>

namespace talvo {

// A rounded rectangle whose corners ease into the straight edges (the
// curvature grows gradually instead of jumping from zero to 1/radius as a
// circular arc does), which keeps large bright-on-dark shapes from showing a
// visible kink where the corner meets the edge. When the radius reaches half
// the shorter side the corners become circular, so a short wide rectangle is
// an exact capsule.
class ContinuousRoundedRectangle : public OutlineShape
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY radiusChanged)

public:
    explicit ContinuousRoundedRectangle(QObject *parent = nullptr);

    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);

    // Clockwise from the top edge: four edges and four cubic corners.
    OutlinePath outline(const QRectF &rect) const override;

signals:
    void radiusChanged();

private:
    qreal m_radius = 0;
};

} // namespace talvo
