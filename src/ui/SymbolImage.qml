import QtQuick
import Talvo

// A system symbol by its design name ("tray.fill"), drawn from the icon font
// the symbol table names. `size` is the point size the design gives the symbol.
Text {
    property string symbol
    property real size: 13

    text: Symbols.glyph(symbol)
    font.family: Symbols.fontFamily
    font.pixelSize: size
    color: "white"
    horizontalAlignment: Text.AlignHCenter
    verticalAlignment: Text.AlignVCenter
}
