import QtQuick
import Talvo

// The tray tab: its title with "Clear All" while the shelf holds items, then
// either the dashed drop zone or the shelf's tiles in a row.
Item {
    id: tray

    required property NotchShelfLayout layout
    required property NotchPanelModel panelModel

    Item {
        id: header
        x: 32
        y: 4
        width: tray.width - 64
        height: Math.max(title.implicitHeight, clearAll.height)

        Text {
            id: title
            objectName: "trayTitle"
            anchors.verticalCenter: parent.verticalCenter
            text: tray.panelModel.trayTitle
            font.pixelSize: 12
            font.weight: Font.DemiBold
            color: PanelColors.secondary
        }
        PanelButton {
            id: clearAll
            objectName: "clearAllButton"
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            visible: tray.panelModel.showsClearAll
            text: qsTr("Clear All")
            textSize: 11
            leftPadding: 10
            rightPadding: 10
            topPadding: 4
            bottomPadding: 4
            Accessible.name: qsTr("Clear All")
            onClicked: tray.layout.clearShelf(NotchViewModel)

            Rectangle {
                z: -1
                anchors.fill: parent
                radius: 8
                color: Qt.rgba(1, 1, 1, 0.1)
            }
        }
    }

    Item {
        id: dropZone
        objectName: "trayDropZone"
        x: 32
        y: header.y + header.height + 6
        width: tray.width - 64
        height: Math.max(0, tray.height - y - 10)
        visible: !tray.panelModel.showsClearAll

        GlassCardItem {
            anchors.fill: parent
            radius: 12
            fillTop: Qt.rgba(1, 1, 1, 0.02)
            borderColor: Qt.rgba(1, 1, 1, 0.15)
            borderWidth: 1.25
            dashLength: 5
        }
        Column {
            anchors.centerIn: parent
            spacing: 4
            SymbolImage {
                anchors.horizontalCenter: parent.horizontalCenter
                symbol: "tray.and.arrow.down"
                size: 20
                font.weight: Font.Light
                color: PanelColors.tertiary
            }
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: qsTr("Drop files here")
                font.pixelSize: 12
                font.weight: Font.Medium
                color: PanelColors.secondary
            }
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: qsTr("They will be kept safe in your shelf")
                font.pixelSize: 10
                color: PanelColors.tertiary
            }
        }
    }

    ShelfItemRow {
        objectName: "trayItems"
        x: 32
        y: header.y + header.height + 6
        width: tray.width - 64
        height: Math.min(84, Math.max(0, tray.height - y - 10))
        spacing: 12
        visible: tray.panelModel.showsClearAll
    }
}
