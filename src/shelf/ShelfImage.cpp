#include "ShelfImage.h"

namespace talvo {

ShelfImage ShelfImage::fromImage(const QImage &image)
{
    ShelfImage result;
    if (!image.isNull()) {
        result.m_kind = Kind::Bitmap;
        result.m_image = image;
    }
    return result;
}

ShelfImage ShelfImage::themeIcon(const QString &iconName)
{
    ShelfImage result;
    result.m_kind = Kind::ThemeIcon;
    result.m_name = iconName;
    return result;
}

ShelfImage ShelfImage::symbol(const QString &symbolName)
{
    ShelfImage result;
    result.m_kind = Kind::Symbol;
    result.m_name = symbolName;
    return result;
}

} // namespace talvo
