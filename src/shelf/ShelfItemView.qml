import QtQuick
import Talvo

// One shelf item as a 71 × 84 tile: its picture in a rounded well, its title
// below and, while the pointer is over the tile, a button that removes it.
// Dragging the tile carries the item out of the notch.
Item {
    id: tile

    required property string itemId
    required property string displayTitle

    width: 71
    height: 84

    // The remove button's own hover counts as the tile's: the pointer is
    // over the tile while it is over the button.
    readonly property bool hovered: pointerArea.containsMouse || removeArea.containsMouse
    property real fillOpacity: 0.04
    property real borderOpacity: 0.08
    Behavior on fillOpacity { NumberAnimation { duration: 150 } }
    Behavior on borderOpacity { NumberAnimation { duration: 150 } }
    onHoveredChanged: {
        fillOpacity = hovered ? 0.15 : 0.05
        borderOpacity = hovered ? 0.18 : 0.10
    }

    ShelfItemDragSource {
        id: source
        dragOut: ShelfDragOut
        itemId: tile.itemId
        tileSize: Qt.size(tile.width, tile.height)
        // The session swallowed the release: let the pointer area start afresh.
        onDragEnded: {
            pointerArea.enabled = false
            pointerArea.enabled = true
        }
    }

    Rectangle {
        anchors.fill: parent
        radius: 12
        color: Qt.rgba(1, 1, 1, tile.fillOpacity)
        border.width: 0.5
        border.color: Qt.rgba(1, 1, 1, tile.borderOpacity)
    }

    // The well's shadow: black at 10 %, one point down.
    Rectangle {
        x: well.x
        y: well.y + 1
        width: well.width
        height: well.height
        radius: well.radius
        color: Qt.rgba(0, 0, 0, 0.1)
    }
    Rectangle {
        id: well
        x: (tile.width - 50) * 0.5
        y: 8
        width: 50
        height: 50
        radius: 10
        color: Qt.rgba(1, 1, 1, 0.08)

        Image {
            anchors.fill: parent
            anchors.margins: 5
            source: tile.itemId ? "image://shelf/" + tile.itemId : ""
            sourceSize: Qt.size(width, height)
            cache: false
            fillMode: Image.PreserveAspectFit
            smooth: true
        }
    }

    Text {
        x: 8
        y: tile.height - 7 - height
        width: tile.width - 16
        height: 14
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        text: tile.displayTitle
        font.pixelSize: 10
        font.weight: Font.Medium
        color: Qt.rgba(1, 1, 1, 0.7)
    }

    MouseArea {
        id: pointerArea
        anchors.fill: parent
        hoverEnabled: true
        onPressed: (mouse) => source.press(mouse.x, mouse.y)
        onPositionChanged: (mouse) => {
            if (pressed)
                source.move(mouse.x, mouse.y)
        }
        onReleased: source.release()
        onCanceled: source.release()
    }

    // Above the pointer area, so that its press never starts a drag.
    Rectangle {
        objectName: "removeButton"
        x: tile.width - 20
        y: 4
        width: 16
        height: 16
        radius: 8
        color: Qt.rgba(0, 0, 0, 0.65)
        visible: tile.hovered

        SymbolImage {
            anchors.centerIn: parent
            symbol: "xmark"
            size: 10
            color: Qt.rgba(1, 1, 1, 0.85)
            Accessible.name: "Remove"
        }
        MouseArea {
            id: removeArea
            anchors.fill: parent
            hoverEnabled: true
            onClicked: source.removeItem()
        }
    }
}
