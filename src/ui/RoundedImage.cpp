#include "RoundedImage.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QQuickWindow>

#include <algorithm>
#include <array>
#include <vector>

namespace talvo {

namespace {

// One pass of a box blur of `radius` pixels along every row (or column) of a
// premultiplied picture; beyond the edges the edge pixels repeat.
void boxBlurPass(QImage &image, int radius, bool vertical)
{
    const qsizetype rowStride = image.bytesPerLine() / 4;
    const int lines = vertical ? image.width() : image.height();
    const int length = vertical ? image.height() : image.width();
    const qsizetype step = vertical ? rowStride : 1;
    auto *pixels = reinterpret_cast<QRgb *>(image.bits());
    std::vector<QRgb> line(static_cast<size_t>(length));
    const int window = 2 * radius + 1;
    for (int l = 0; l < lines; ++l) {
        QRgb *start = pixels + (vertical ? l : l * rowStride);
        for (int i = 0; i < length; ++i)
            line[size_t(i)] = start[i * step];
        const auto at = [&](int i) { return line[size_t(std::clamp(i, 0, length - 1))]; };
        std::array<int, 4> sum{};
        const auto add = [&sum](QRgb p, int sign) {
            sum[0] += sign * qRed(p);
            sum[1] += sign * qGreen(p);
            sum[2] += sign * qBlue(p);
            sum[3] += sign * qAlpha(p);
        };
        for (int i = -radius; i <= radius; ++i)
            add(at(i), 1);
        for (int i = 0; i < length; ++i) {
            start[i * step] = qRgba(sum[0] / window, sum[1] / window, sum[2] / window, sum[3] / window);
            add(at(i - radius), -1);
            add(at(i + radius + 1), 1);
        }
    }
}

// The picture blurred by about `radius` pixels: three box passes each way
// (close to a Gaussian), on a quarter-size copy where the blur is wide.
QImage blurred(const QImage &picture, qreal radius)
{
    const int shrink = radius >= 8 ? 4 : 1;
    QImage small = picture.scaled(std::max(1, picture.width() / shrink), std::max(1, picture.height() / shrink),
                                  Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                       .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int box = std::max(1, qRound(radius / 2 / shrink));
    for (int pass = 0; pass < 3; ++pass) {
        boxBlurPass(small, box, false);
        boxBlurPass(small, box, true);
    }
    return small.scaled(picture.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// Keeps of `layer` only as much as `gradient` is opaque.
void mask(QImage &layer, QLinearGradient gradient)
{
    QPainter painter(&layer);
    painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    painter.fillRect(layer.rect(), gradient);
}

} // namespace

RoundedImage::RoundedImage(QQuickItem *parent) : PaintedItem(parent)
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

void RoundedImage::setBlurRadius(qreal radius)
{
    if (qFuzzyCompare(m_blurRadius, radius))
        return;
    m_blurRadius = radius;
    emit blurRadiusChanged();
    update();
}

QVariantList RoundedImage::horizontalMask() const
{
    QVariantList opacities;
    for (qreal opacity : m_horizontalMask)
        opacities.append(opacity);
    return opacities;
}

void RoundedImage::setHorizontalMask(const QVariantList &opacities)
{
    QList<qreal> values;
    for (const QVariant &opacity : opacities)
        values.append(opacity.toReal());
    if (m_horizontalMask == values)
        return;
    m_horizontalMask = values;
    emit horizontalMaskChanged();
    update();
}

void RoundedImage::setVerticalFade(bool fade)
{
    if (m_verticalFade == fade)
        return;
    m_verticalFade = fade;
    emit verticalFadeChanged();
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
    const QRectF source = m_aspectFill ? coveringSource(m_image.size(), bounds.size()) : QRectF(m_image.rect());
    if (m_blurRadius <= 0 && m_horizontalMask.isEmpty() && !m_verticalFade) {
        painter->drawImage(bounds, m_image, source);
        return;
    }
    // Blurs and masks work on the picture at the item's size in pixels.
    const qreal ratio = window() ? window()->effectiveDevicePixelRatio() : 1.0;
    QImage layer(QSize(qCeil(width() * ratio), qCeil(height() * ratio)), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter scaler(&layer);
        scaler.setRenderHint(QPainter::SmoothPixmapTransform);
        scaler.drawImage(QRectF(layer.rect()), m_image, source);
    }
    if (m_blurRadius > 0)
        layer = blurred(layer, m_blurRadius * ratio);
    if (m_horizontalMask.size() > 1) {
        QLinearGradient across(0, 0, layer.width(), 0);
        for (qsizetype i = 0; i < m_horizontalMask.size(); ++i)
            across.setColorAt(qreal(i) / qreal(m_horizontalMask.size() - 1),
                              QColor::fromRgbF(1, 1, 1, float(m_horizontalMask[i])));
        mask(layer, across);
    }
    if (m_verticalFade) {
        QLinearGradient down(0, 0, 0, layer.height());
        down.setColorAt(0, Qt::transparent);
        down.setColorAt(1.0 / 3, Qt::white);
        down.setColorAt(2.0 / 3, Qt::white);
        down.setColorAt(1, Qt::transparent);
        mask(layer, down);
    }
    painter->drawImage(bounds, layer);
}

} // namespace talvo
