#pragma once

#include "ui/OutlineShape.h"

#include <QtQml/qqmlregistration.h>

namespace talvo {

// The attached notch's outline: the top edge spans the whole rectangle, two
// ears curve outwards from it into the sides, and below the ears the body is
// inset by the top radius on both sides with rounded bottom corners. All
// curves are quadratic, so the body reads as grown out of the top edge rather
// than a rectangle glued to it.
//
// The radii are plain properties: animating either one redraws the outline
// in step, which is how the notch reshapes while it opens and closes.
class OrvaneNotchShape : public OutlineShape
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal topRadius READ topRadius WRITE setTopRadius NOTIFY topRadiusChanged)
    Q_PROPERTY(qreal bottomRadius READ bottomRadius WRITE setBottomRadius NOTIFY bottomRadiusChanged)
    // The outline from one ear's tip to the other's, without the top edge:
    // what a shadow follows, since the top edge lies along the screen's.
    Q_PROPERTY(QString sidesPathData READ sidesPathData NOTIFY pathDataChanged)

public:
    explicit OrvaneNotchShape(QObject *parent = nullptr);

    qreal topRadius() const { return m_topRadius; }
    void setTopRadius(qreal radius);
    qreal bottomRadius() const { return m_bottomRadius; }
    void setBottomRadius(qreal radius);

    // Nine steps: move to the top-left corner, left ear, left side,
    // bottom-left corner, bottom edge, bottom-right corner, right side, right
    // ear, and a straight line back along the top edge (no explicit close).
    OutlinePath outline(const QRectF &rect) const override;
    QString sidesPathData() const;

signals:
    void topRadiusChanged();
    void bottomRadiusChanged();

private:
    qreal m_topRadius = 0;
    qreal m_bottomRadius = 0;
};

} // namespace talvo
