#pragma once

#include <QBuffer>
#include <QColor>
#include <QImage>

namespace talvo {

// A one-colour picture for tests, and its bytes as PNG.
inline QImage solidImage(QColor colour, QSize size = {8, 8})
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

inline QByteArray pngBytes(QColor colour, QSize size = {8, 8})
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    solidImage(colour, size).save(&buffer, "PNG");
    return bytes;
}

} // namespace talvo
