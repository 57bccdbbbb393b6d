import QtQuick
import Talvo

// "Drop to shelf": shown while a drag hovers over the notch's drop zone.
Column {
    id: view

    required property NotchShelfLayout layout

    Item { width: 1; height: view.layout.baseNotchHeight }

    Item {
        width: view.width
        height: view.height - view.layout.baseNotchHeight

        Column {
            anchors.horizontalCenter: parent.horizontalCenter
            // Centred as a whole in the space left between the margins (10
            // above, 14 below). Not by padding: a column's implicit height
            // counts its padding, and the two would chase each other.
            y: 10 + Math.max(0, (parent.height - 10 - 14 - implicitHeight) / 2)
            spacing: 6

            SymbolImage {
                anchors.horizontalCenter: parent.horizontalCenter
                symbol: "plus.circle.fill"
                size: 30
                font.weight: Font.Light
                color: view.layout.dropSymbolColor
                scale: view.layout.dropSymbolScale
                Behavior on scale { MotionSpring { motion: Springs.dropTargetSymbol } }
            }
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: qsTr("Drop to shelf")
                font.pixelSize: 13
                font.weight: Font.Medium
                color: Qt.rgba(1, 1, 1, 0.7)
            }
        }
    }
}
