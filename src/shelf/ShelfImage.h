#pragma once

#include <QImage>
#include <QString>

namespace talvo {

// The picture of a shelf entry. On this desktop a picture is either pixels we
// hold (a thumbnail or a dropped image), a named icon of the freedesktop icon
// theme (resolved by whoever draws it, so it follows theme changes), or a
// named symbol of the interface's symbol font.
class ShelfImage
{
public:
    enum class Kind { None, Bitmap, ThemeIcon, Symbol };

    ShelfImage() = default;
    static ShelfImage fromImage(const QImage &image);
    static ShelfImage themeIcon(const QString &iconName);
    static ShelfImage symbol(const QString &symbolName);

    Kind kind() const { return m_kind; }
    bool isNull() const { return m_kind == Kind::None; }
    // Pixels of a Bitmap; null otherwise.
    const QImage &image() const { return m_image; }
    // Icon or symbol name; empty for a Bitmap.
    const QString &name() const { return m_name; }

    friend bool operator==(const ShelfImage &a, const ShelfImage &b)
    {
        return a.m_kind == b.m_kind && a.m_name == b.m_name && a.m_image == b.m_image;
    }

private:
    Kind m_kind = Kind::None;
    QImage m_image;
    QString m_name;
};

} // namespace talvo
