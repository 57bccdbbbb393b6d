import QtQuick
import Talvo

// A plain 71 × 84 tile for one shelf item: a rounded icon well with a symbol
// for the item's kind and the item's title below.
Item {
    id: tile

    required property string type
    required property string displayTitle

    width: 71
    height: 84

    Rectangle {
        id: well
        anchors.horizontalCenter: parent.horizontalCenter
        y: 4
        width: 54
        height: 54
        radius: 12
        color: Qt.rgba(1, 1, 1, 0.08)

        SymbolImage {
            anchors.centerIn: parent
            symbol: tile.type === "text" ? "doc.text.fill" : tile.type === "image" ? "photo.fill" : "doc.fill"
            size: 26
            color: Qt.rgba(1, 1, 1, 0.8)
        }
    }
    Text {
        anchors.top: well.bottom
        anchors.topMargin: 6
        width: parent.width
        horizontalAlignment: Text.AlignHCenter
        elide: Text.ElideMiddle
        text: tile.displayTitle
        font.pixelSize: 10
        font.weight: Font.Medium
        color: Qt.rgba(1, 1, 1, 0.85)
    }
}
