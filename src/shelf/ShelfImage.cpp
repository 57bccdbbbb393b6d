#include "ShelfImage.h"

#include "ui/SymbolTable.h"

#include <QIcon>
#include <QPainter>

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

QImage ShelfImage::rendered(int side, qreal devicePixelRatio) const
{
    const int pixels = qMax(1, qRound(side * devicePixelRatio));
    QImage result;
    switch (m_kind) {
    case Kind::None:
        return {};
    case Kind::Bitmap: {
        const QImage fitted = m_image.scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        result = QImage(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
        result.fill(Qt::transparent);
        QPainter painter(&result);
        painter.drawImage((pixels - fitted.width()) / 2, (pixels - fitted.height()) / 2, fitted);
        break;
    }
    case Kind::ThemeIcon: {
        const QIcon icon = QIcon::fromTheme(m_name);
        if (icon.isNull())
            return {};
        result = icon.pixmap(QSize(side, side), devicePixelRatio).toImage();
        break;
    }
    case Kind::Symbol: {
        const std::optional<char16_t> glyph = SymbolTable::codepoint(m_name);
        if (!glyph)
            return {};
        result = QImage(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
        result.fill(Qt::transparent);
        QPainter painter(&result);
        QFont font(SymbolTable::fontFamily());
        font.setPixelSize(pixels);
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QRect(0, 0, pixels, pixels), Qt::AlignCenter, QString(QChar(*glyph)));
        break;
    }
    }
    result.setDevicePixelRatio(devicePixelRatio);
    return result;
}

} // namespace talvo
