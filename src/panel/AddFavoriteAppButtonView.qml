import QtQuick
import Talvo

// The "Add App" tile after the favourites: opens the application chooser.
Item {
    id: button

    readonly property bool isHovered: hover.hovered
    signal triggered()

    width: 64
    height: 72
    scale: isHovered ? 1.02 : 1.0
    Behavior on scale { SpringAnimation { spring: 4; damping: 0.45 } }

    Accessible.role: Accessible.Button
    Accessible.name: qsTr("Add App")
    Accessible.onPressAction: button.triggered()

    Column {
        anchors.centerIn: parent
        spacing: 6
        Rectangle {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 40
            height: 40
            radius: 12
            color: Qt.rgba(1, 1, 1, button.isHovered ? 0.08 : 0.03)
            border.width: 0.5
            border.color: Qt.rgba(1, 1, 1, button.isHovered ? 0.2 : 0.08)
            scale: button.isHovered ? 1.05 : 1.0
            SymbolImage {
                anchors.centerIn: parent
                symbol: "plus"
                size: 16
                font.weight: Font.DemiBold
                color: button.isHovered ? "white" : Qt.rgba(1, 1, 1, 0.4)
            }
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: qsTr("Add App")
            font.pixelSize: 9
            font.weight: Font.Medium
            color: Qt.rgba(1, 1, 1, button.isHovered ? 0.8 : 0.4)
        }
    }
    HoverHandler { id: hover }
    TapHandler { onTapped: button.triggered() }
}
