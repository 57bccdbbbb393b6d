import QtQuick
import QtQuick.Shapes
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
    property color fillTop: "transparent"
    property color fillBottom: fillTop

    ContinuousRoundedRectangle {
        id: outline
        width: frame.width
        height: frame.height
        radius: frame.radius
    }

    component ShadowStroke: ShapePath {
        fillColor: "transparent"
        strokeColor: Qt.rgba(0, 0, 0, 0.15 / 5)
        joinStyle: ShapePath.RoundJoin
        PathSvg { path: outline.pathData }
    }

    // The software renderer has no blur: nested strokes of the outline fade
    // the shadow out over its blur radius.
    Shape {
        y: frame.shadowBase * 0.5
        width: frame.width
        height: frame.height
        visible: frame.framed
        antialiasing: true
        ShadowStroke { strokeWidth: frame.shadowBase * 1.5 * 2 }
        ShadowStroke { strokeWidth: frame.shadowBase * 1.5 * 1.2 }
        ShadowStroke { strokeWidth: frame.shadowBase * 1.5 * 0.6 }
    }

    Shape {
        anchors.fill: parent
        antialiasing: true
        ShapePath {
            strokeColor: frame.framed ? Qt.rgba(1, 1, 1, 0.1) : "transparent"
            strokeWidth: 0.5
            fillGradient: LinearGradient {
                x1: 0; y1: 0
                x2: frame.width; y2: frame.height
                GradientStop { position: 0; color: frame.fillTop }
                GradientStop { position: 1; color: frame.fillBottom }
            }
            PathSvg { path: outline.pathData }
        }
    }
}
