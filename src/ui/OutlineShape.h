#pragma once

#include "OutlinePath.h"

#include <QObject>
#include <QRectF>
#include <QtQml/qqmlregistration.h>

namespace talvo {

// A shape that QML draws with Qt Quick Shapes:
//     ShapePath { PathSvg { path: outline.pathData } }
// Subclasses say how the outline fills a rectangle; this base keeps the size
// and republishes the path data whenever anything that shapes it changes
// (once per real change, so an animation of a radius redraws each frame and
// nothing else does).
class OutlineShape : public QObject
{
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(qreal width READ width WRITE setWidth NOTIFY widthChanged)
    Q_PROPERTY(qreal height READ height WRITE setHeight NOTIFY heightChanged)
    Q_PROPERTY(QString pathData READ pathData NOTIFY pathDataChanged)

public:
    using QObject::QObject;

    qreal width() const { return m_width; }
    void setWidth(qreal width);
    qreal height() const { return m_height; }
    void setHeight(qreal height);

    // The outline in the rectangle (origin top left, y downwards).
    virtual OutlinePath outline(const QRectF &rect) const = 0;
    QPainterPath path(const QRectF &rect) const { return outline(rect).toPainterPath(); }
    QString pathData() const { return m_pathData; }

signals:
    void widthChanged();
    void heightChanged();
    void pathDataChanged();

protected:
    // Subclasses call this after a change of a value that shapes the outline.
    void updatePath();
    // Stores `value` in `field` and updates the path when it differs.
    bool assign(qreal &field, qreal value);

private:
    qreal m_width = 0;
    qreal m_height = 0;
    QString m_pathData;
};

} // namespace talvo
