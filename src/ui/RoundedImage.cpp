#include "RoundedImage.h"

#include <QPainter>
#include <QPainterPath>

namespace talvo {

RoundedImage::RoundedImage(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
}

void RoundedImage::setImage(const QImage &image)
{
    // Images are shared: the same picture set again has the same key.
    if (m_image.cacheKey() == image.cacheKey())
        return;
    m_image = image;
    emit imageChanged();
    update();
}

void RoundedImage::setRadius(qreal radius)
{
    if (qFuzzyCompare(m_radius, radius))
        return;
    m_radius = radius;
    emit radiusChanged();
    update();
}

void RoundedImage::setAspectFill(bool fill)
{
    if (m_aspectFill == fill)
        return;
    m_aspectFill = fill;
    emit aspectFillChanged();
    update();
}

QRectF RoundedImage::coveringSource(QSizeF imageSize, QSizeF target)
{
    if (imageSize.isEmpty() || target.isEmpty())
        return QRectF(QPointF(0, 0), imageSize);
    const QSizeF covered = target.scaled(imageSize, Qt::KeepAspectRatio);
    return QRectF(QPointF((imageSize.width() - covered.width()) / 2, (imageSize.height() - covered.height()) / 2),
                  covered);
}

void RoundedImage::paint(QPainter *painter)
{
    if (m_image.isNull() || width() <= 0 || height() <= 0)
        return;
    const QRectF bounds(0, 0, width(), height());
    QPainterPath clip;
    clip.addRoundedRect(bounds, m_radius, m_radius);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->setClipPath(clip);
    if (m_aspectFill)
        painter->drawImage(bounds, m_image, coveringSource(m_image.size(), bounds.size()));
    else
        painter->drawImage(bounds, m_image);
}

} // namespace talvo
