import QtQuick
import Talvo

// The glass card look behind a panel element: a rounded body with continuous
// corners, an optional fill (a gradient from `fillTop` at the top-leading
// corner to `fillBottom` at the bottom-trailing one), a 0.5 border of white at
// 0.1 and a shadow of black at 0.15 blurred by 1.5 × `shadowBase` and lowered
// by 0.5 × `shadowBase`. `framed` false leaves only the fill (the frameless
// cards pass a clear one).
Item {
    id: frame

    property real radius: 24
    property real shadowBase: 12
    property bool framed: true
    // The weather card is clipped and shadowed but has no border.
    property bool bordered: true
    property color fillTop: "transparent"
    property color fillBottom: fillTop

    GlassCardItem {
        readonly property real spill: frame.framed ? shadowBlur + shadowOffsetY : 0
        x: -spill
        y: -spill
        width: frame.width + 2 * spill
        height: frame.height + 2 * spill
        radius: frame.radius
        fillTop: frame.fillTop
        fillBottom: frame.fillBottom
        borderColor: frame.framed && frame.bordered ? Qt.rgba(1, 1, 1, 0.1) : "transparent"
        borderWidth: 0.5
        shadowColor: frame.framed ? Qt.rgba(0, 0, 0, 0.15) : "transparent"
        shadowBlur: frame.shadowBase * 1.5
        shadowOffsetY: frame.shadowBase * 0.5
    }
}
