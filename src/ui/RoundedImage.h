#pragma once

#include <QImage>
#include "PaintedItem.h"
#include <QtQml/qqmlregistration.h>

namespace talvo {

// Draws a picture held in C++ (album art, an application icon) stretched to
// the item and clipped to a rounded rectangle:
//     RoundedImage { width: 22; height: 22; radius: 6; image: NowPlayingManager.albumArt }
// A null image draws nothing; `undefined` (a binding with nothing to show)
// resets it to one.
class RoundedImage : public PaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QImage image READ image WRITE setImage RESET resetImage NOTIFY imageChanged)
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY radiusChanged)
    // Scales the picture to cover the item with its aspect ratio kept (the
    // overflow is cut off) instead of stretching it.
    Q_PROPERTY(bool aspectFill MEMBER m_aspectFill WRITE setAspectFill NOTIFY aspectFillChanged)
    // Blurs the picture by about this many logical pixels (0: sharp). Drawn
    // here rather than by a shader, so every scene-graph backend shows it.
    Q_PROPERTY(qreal blurRadius MEMBER m_blurRadius WRITE setBlurRadius NOTIFY blurRadiusChanged)
    // Fades the picture across its width: opacities spaced evenly from the
    // left edge to the right one; empty: no fade.
    Q_PROPERTY(QVariantList horizontalMask READ horizontalMask WRITE setHorizontalMask NOTIFY horizontalMaskChanged)
    // Fades the picture in over its top third and out over its bottom third.
    Q_PROPERTY(bool verticalFade MEMBER m_verticalFade WRITE setVerticalFade NOTIFY verticalFadeChanged)

public:
    explicit RoundedImage(QQuickItem *parent = nullptr);

    QImage image() const { return m_image; }
    void setImage(const QImage &image);
    void resetImage() { setImage(QImage()); }
    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);
    void setAspectFill(bool fill);
    void setBlurRadius(qreal radius);
    QVariantList horizontalMask() const;
    void setHorizontalMask(const QVariantList &opacities);
    void setVerticalFade(bool fade);
    // The part of a picture of `imageSize` that covers `target` when scaled
    // with its aspect ratio kept, centred.
    static QRectF coveringSource(QSizeF imageSize, QSizeF target);

    void paint(QPainter *painter) override;

signals:
    void imageChanged();
    void radiusChanged();
    void aspectFillChanged();
    void blurRadiusChanged();
    void horizontalMaskChanged();
    void verticalFadeChanged();

private:
    QImage m_image;
    qreal m_radius = 0;
    bool m_aspectFill = false;
    qreal m_blurRadius = 0;
    QList<qreal> m_horizontalMask;
    bool m_verticalFade = false;
};

} // namespace talvo
