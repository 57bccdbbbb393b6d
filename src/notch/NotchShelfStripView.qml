import QtQuick
import Talvo

// The shelf while one of its items is dragged out: a header with the item
// count (and "Clear" from two items on) over a row of the shelf's tiles.
Column {
    id: view

    required property NotchShelfLayout layout

    Item { width: 1; height: view.layout.baseNotchHeight }

    // Header and tiles, centred as one in the space below the housing band.
    Item {
        width: view.width
        height: view.height - view.layout.baseNotchHeight

        Column {
            anchors.verticalCenter: parent.verticalCenter
            width: parent.width

            Item {
                width: parent.width
                height: headerRow.height + 4

                Row {
                    id: headerRow
                    x: 14
                    y: 4
                    spacing: 6

                    SymbolImage {
                        anchors.verticalCenter: parent.verticalCenter
                        symbol: "tray.fill"
                        size: 10
                        color: Qt.rgba(1, 1, 1, 0.38)
                    }
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: view.layout.itemCountText
                        font.pixelSize: 11
                        font.weight: Font.Medium
                        color: Qt.rgba(1, 1, 1, 0.38)
                    }
                }
                Text {
                    anchors.right: parent.right
                    anchors.rightMargin: 14
                    anchors.verticalCenter: headerRow.verticalCenter
                    visible: view.layout.showsClearButton
                    text: qsTr("Clear")
                    font.pixelSize: 10
                    color: Qt.rgba(1, 1, 1, 0.28)
                    Accessible.role: Accessible.Button
                    Accessible.name: text

                    TapHandler {
                        gesturePolicy: TapHandler.ReleaseWithinBounds
                        onTapped: view.layout.clearShelf(NotchViewModel)
                    }
                }
            }

            ShelfItemRow {
                width: parent.width
                leftMargin: 14
                rightMargin: 14
                topMargin: 4
                bottomMargin: 4
                clip: true
            }
        }
    }
}
