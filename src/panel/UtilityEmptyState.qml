import QtQuick
import Talvo

// What a utility card shows with nothing to list: a faint symbol, a title
// and a caption, centred in the space left below the header.
Item {
    id: empty

    property string symbol
    property string title
    property string caption

    Column {
        anchors.centerIn: parent
        spacing: 2
        SymbolImage {
            anchors.horizontalCenter: parent.horizontalCenter
            symbol: empty.symbol
            size: 16
            // The design's gradient from white at 0.3 to 0.1, averaged: the
            // software renderer cannot fill text with a gradient.
            color: Qt.rgba(1, 1, 1, 0.2)
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: empty.title
            font.pixelSize: 10
            font.weight: Font.DemiBold
            color: Qt.rgba(1, 1, 1, 0.4)
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: empty.caption
            font.pixelSize: 8
            color: Qt.rgba(1, 1, 1, 0.25)
        }
    }
}
