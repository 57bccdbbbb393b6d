import QtQuick
import Talvo

// One button of the system-actions grid: a symbol and a title on a faint
// rounded tile that brightens under the pointer.
Item {
    id: button

    property string title
    property string icon
    property bool isRed
    readonly property bool isHovered: hover.hovered

    signal triggered()

    implicitHeight: 26
    scale: isHovered ? 1.02 : 1.0
    Behavior on scale { SpringAnimation { spring: 4; damping: 0.45 } }

    Accessible.role: Accessible.Button
    Accessible.name: title
    Accessible.onPressAction: button.triggered()

    Rectangle {
        anchors.fill: parent
        radius: 8
        color: Qt.rgba(1, 1, 1, button.isHovered ? 0.08 : 0.02)
        border.width: 0.5
        border.color: Qt.rgba(1, 1, 1, button.isHovered ? 0.2 : 0.05)
        Behavior on color { ColorAnimation { duration: 150 } }
    }
    Row {
        anchors.verticalCenter: parent.verticalCenter
        x: 6
        width: parent.width - 12
        spacing: 6
        SymbolImage {
            anchors.verticalCenter: parent.verticalCenter
            width: 14
            symbol: button.icon
            size: 11
            font.weight: Font.Bold
            color: button.isRed ? "#ff453a" : Qt.rgba(1, 1, 1, 0.85)
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            width: parent.width - 20
            text: button.title
            font.pixelSize: 10
            font.weight: Font.DemiBold
            color: button.isHovered ? "white" : Qt.rgba(1, 1, 1, 0.8)
            elide: Text.ElideRight
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: 8
        }
    }
    HoverHandler { id: hover }
    TapHandler { onTapped: button.triggered() }
}
