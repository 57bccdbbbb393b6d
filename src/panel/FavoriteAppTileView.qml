import QtQuick
import Talvo

// A favourite application: its icon and name; a click launches it, and while
// the pointer is over it a small button removes it.
Item {
    id: tile

    property string path
    property string name
    property string iconSource
    readonly property bool isHovered: hover.hovered

    signal launched()
    signal removed()

    width: 64
    height: 72
    scale: isHovered ? 1.03 : 1.0
    Behavior on scale { SpringAnimation { spring: 4; damping: 0.45 } }

    Accessible.role: Accessible.Button
    Accessible.name: qsTr("Open %1").arg(name)
    Accessible.onPressAction: tile.launched()

    Rectangle {
        anchors.fill: parent
        radius: 12
        color: Qt.rgba(1, 1, 1, tile.isHovered ? 0.08 : 0.02)
        border.width: 0.5
        border.color: Qt.rgba(1, 1, 1, tile.isHovered ? 0.18 : 0.05)
    }
    Column {
        anchors.centerIn: parent
        spacing: 6
        Item {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 40
            height: 40
            scale: tile.isHovered ? 1.08 : 1.0
            Behavior on scale { SpringAnimation { spring: 4; damping: 0.45 } }
            Image {
                id: icon
                anchors.fill: parent
                sourceSize: Qt.size(80, 80)
                source: tile.iconSource
                fillMode: Image.PreserveAspectFit
            }
            // Where the entry names no icon (or is gone), a plain symbol.
            SymbolImage {
                anchors.centerIn: parent
                visible: icon.status !== Image.Ready
                symbol: "app.fill"
                size: 30
                color: Qt.rgba(1, 1, 1, 0.35)
            }
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 58
            horizontalAlignment: Text.AlignHCenter
            text: tile.name
            font.pixelSize: 9
            font.weight: Font.DemiBold
            color: tile.isHovered ? "white" : Qt.rgba(1, 1, 1, 0.75)
            elide: Text.ElideRight
        }
    }
    HoverHandler { id: hover }
    TapHandler { onTapped: tile.launched() }

    // The remove button, 3 points out from the top-right corner.
    Rectangle {
        objectName: "removeFavorite"
        x: parent.width - width / 2 - 4
        y: -height / 2 + 4
        width: 14
        height: 14
        radius: 7
        color: Qt.rgba(0, 0, 0, 0.6)
        opacity: tile.isHovered ? 1 : 0
        visible: opacity > 0
        Behavior on opacity { NumberAnimation { duration: 150 } }
        Accessible.role: Accessible.Button
        Accessible.name: qsTr("Remove %1").arg(tile.name)
        Accessible.onPressAction: tile.removed()
        SymbolImage {
            anchors.centerIn: parent
            symbol: "xmark"
            size: 7
            font.weight: Font.Bold
            color: Qt.rgba(1, 1, 1, 0.8)
        }
        TapHandler { onTapped: tile.removed() }
    }
}
