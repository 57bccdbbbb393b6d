#pragma once

#include <QImage>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

namespace talvo {

// Draws a picture held in C++ (album art, an application icon) stretched to
// the item and clipped to a rounded rectangle:
//     RoundedImage { width: 22; height: 22; radius: 6; image: NowPlayingManager.albumArt }
// A null image draws nothing.
class RoundedImage : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QImage image READ image WRITE setImage NOTIFY imageChanged)
    Q_PROPERTY(qreal radius READ radius WRITE setRadius NOTIFY radiusChanged)
    // Scales the picture to cover the item with its aspect ratio kept (the
    // overflow is cut off) instead of stretching it.
    Q_PROPERTY(bool aspectFill MEMBER m_aspectFill WRITE setAspectFill NOTIFY aspectFillChanged)

public:
    explicit RoundedImage(QQuickItem *parent = nullptr);

    QImage image() const { return m_image; }
    void setImage(const QImage &image);
    qreal radius() const { return m_radius; }
    void setRadius(qreal radius);
    void setAspectFill(bool fill);
    // The part of a picture of `imageSize` that covers `target` when scaled
    // with its aspect ratio kept, centred.
    static QRectF coveringSource(QSizeF imageSize, QSizeF target);

    void paint(QPainter *painter) override;

signals:
    void imageChanged();
    void radiusChanged();
    void aspectFillChanged();

private:
    QImage m_image;
    qreal m_radius = 0;
    bool m_aspectFill = false;
};

} // namespace talvo
