#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

#include <optional>

namespace talvo {

// The views name their symbols by the design's system-symbol names
// ("tray.fill", "xmark.circle.fill"). This table turns each name into a glyph
// of the Material Icons font (Debian's fonts-material-design-icons-iconfont);
// nothing else in the program knows which font draws the symbols, so changing
// the icon font means changing this file only.
//
// In QML (as `Symbols`):
//     Text { font.family: Symbols.fontFamily; text: Symbols.glyph("tray.fill") }
// or the SymbolImage component, which does just that.
class SymbolTable : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(Symbols)
    QML_SINGLETON
    Q_PROPERTY(QString fontFamily READ fontFamily CONSTANT)

public:
    using QObject::QObject;

    static QString fontFamily();
    // The glyph's code point, or nothing for a name the table does not know.
    static std::optional<char16_t> codepoint(QStringView name);
    // Every symbol name the table knows, sorted.
    static QStringList names();

    // The glyph as text; empty (and logged once per name) for an unknown name.
    Q_INVOKABLE static QString glyph(const QString &name);
};

} // namespace talvo
