#include "ArtworkImage.h"

#include <QBuffer>
#include <QImageReader>

namespace talvo {

QImage ArtworkImage::decode(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {};
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize declared = reader.size();
    // A format that does not declare its size up front is still bounded by
    // Qt's allocation limit.
    if (declared.width() > kMaxDeclaredSide || declared.height() > kMaxDeclaredSide)
        return {};
    if (declared.width() > kMaxSide || declared.height() > kMaxSide)
        reader.setScaledSize(declared.scaled(kMaxSide, kMaxSide, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (image.width() > kMaxSide || image.height() > kMaxSide)
        image = image.scaled(kMaxSide, kMaxSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

} // namespace talvo
