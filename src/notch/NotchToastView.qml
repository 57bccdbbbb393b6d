import QtQuick
import Talvo

// The transient toast: a capsule hanging below the collapsed notch with the
// style's symbol and the message. It slides down from the top edge.
Item {
    id: view

    required property NotchShelfLayout layout
    property bool shown: false
    property string message
    // The capsule's place in this item's coordinates, including the way it
    // slides in from the top edge; empty while hidden.
    readonly property rect occupiedRect: shown || capsule.opacity > 0
        ? Qt.rect(capsule.x - 16, 0, capsule.width + 32, capsule.y + capsule.height + 18)
        : Qt.rect(0, 0, 0, 0)

    Item {
        id: capsule

        readonly property real restingY: view.layout.toastTopPadding
        readonly property color accent: view.layout.toastAccent

        anchors.horizontalCenter: parent.horizontalCenter
        width: row.implicitWidth + 28
        height: row.implicitHeight + 16
        y: view.shown ? restingY : -height
        opacity: view.shown ? 1 : 0
        visible: opacity > 0.001

        Behavior on y { NumberAnimation { duration: 180; easing.type: Easing.InOutQuad } }
        Behavior on opacity { NumberAnimation { duration: 180; easing.type: Easing.InOutQuad } }

        // Soft shadow (black 40 %, 12 blur, 5 down), built from widening
        // translucent capsules since the software renderer has no blur.
        Repeater {
            model: 6
            Rectangle {
                required property int index
                readonly property real grow: (index + 1) * 2
                x: -grow
                y: 5 - grow
                width: capsule.width + 2 * grow
                height: capsule.height + 2 * grow
                radius: height / 2
                color: Qt.rgba(0, 0, 0, 0.07)
            }
        }
        Rectangle {
            anchors.fill: parent
            radius: height / 2
            color: Qt.rgba(0, 0, 0, 0.35)
        }
        // Hairline border fading from the accent at 55 % (top) to 12 % (bottom).
        Canvas {
            id: border
            anchors.fill: parent
            onWidthChanged: requestPaint()
            onHeightChanged: requestPaint()
            property color accent: capsule.accent
            onAccentChanged: requestPaint()
            onPaint: {
                const ctx = getContext("2d")
                ctx.clearRect(0, 0, width, height)
                const stroke = ctx.createLinearGradient(0, 0, 0, height)
                stroke.addColorStop(0, Qt.rgba(accent.r, accent.g, accent.b, 0.55))
                stroke.addColorStop(1, Qt.rgba(accent.r, accent.g, accent.b, 0.12))
                ctx.strokeStyle = stroke
                ctx.lineWidth = 0.75
                const r = (height - 0.75) / 2
                ctx.beginPath()
                ctx.moveTo(r + 0.375, 0.375)
                ctx.lineTo(width - r - 0.375, 0.375)
                ctx.arc(width - r - 0.375, height / 2, r, -Math.PI / 2, Math.PI / 2, false)
                ctx.lineTo(r + 0.375, height - 0.375)
                ctx.arc(r + 0.375, height / 2, r, Math.PI / 2, 3 * Math.PI / 2, false)
                ctx.closePath()
                ctx.stroke()
            }
        }

        Row {
            id: row
            anchors.centerIn: parent
            spacing: 6

            SymbolImage {
                anchors.verticalCenter: parent.verticalCenter
                symbol: view.layout.toastSymbol
                size: 12
                color: capsule.accent
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: view.message
                font.pixelSize: 11
                font.weight: Font.DemiBold
                color: "white"
            }
        }
    }
}
