#include "OutlineShape.h"

namespace talvo {

bool OutlineShape::assign(qreal &field, qreal value)
{
    if (field == value)
        return false;
    field = value;
    updatePath();
    return true;
}

void OutlineShape::setWidth(qreal width)
{
    if (assign(m_width, width))
        emit widthChanged();
}

void OutlineShape::setHeight(qreal height)
{
    if (assign(m_height, height))
        emit heightChanged();
}

void OutlineShape::updatePath()
{
    const QString data = outline(QRectF(0, 0, m_width, m_height)).toSvgPathData();
    if (data == m_pathData)
        return;
    m_pathData = data;
    emit pathDataChanged();
}

} // namespace talvo
