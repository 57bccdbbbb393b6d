import QtQuick
import Talvo

// "Drop files to save": shown while files are dragged anywhere on screen.
Column {
    id: view

    required property NotchShelfLayout layout

    Item { width: 1; height: view.layout.baseNotchHeight }

    Item {
        width: view.width
        height: view.height - view.layout.baseNotchHeight

        Item {
            anchors.fill: parent
            anchors.topMargin: 8
            anchors.bottomMargin: 12

            Row {
                anchors.centerIn: parent
                spacing: 8

                SymbolImage {
                    anchors.verticalCenter: parent.verticalCenter
                    symbol: "tray.and.arrow.down.fill"
                    size: 15
                    color: Qt.rgba(1, 1, 1, 0.55)
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: qsTr("Drop files to save")
                    font.pixelSize: 13
                    font.weight: Font.Medium
                    color: Qt.rgba(1, 1, 1, 0.55)
                }
            }
        }
    }
}
