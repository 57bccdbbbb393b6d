import QtQuick
import Talvo

// One recent download: its icon, name and detail line. Dragging it out drops
// the file elsewhere (as a copy); a click opens it with the desktop's default
// application.
Item {
    id: row

    required property url url
    required property string fileName

    readonly property bool hovered: pointer.containsMouse
    readonly property QtObject cardModel: RecentFilesCardModel

    width: ListView.view ? ListView.view.width : 0
    height: 25
    scale: hovered ? 1.015 : 1
    Behavior on scale { MotionSpring { motion: Springs.motion(0.2, 0.7) } }

    Accessible.role: Accessible.Button
    Accessible.name: qsTr("Open %1").arg(fileName)
    Accessible.onPressAction: if (cardModel) { cardModel.press(url, 0, 0); cardModel.release() }

    Rectangle {
        anchors.fill: parent
        radius: 6
        color: Qt.rgba(1, 1, 1, row.hovered ? 0.06 : 0.02)
        border.width: 0.5
        border.color: row.hovered ? Qt.rgba(1, 1, 1, 0.08) : "transparent"
    }

    Row {
        x: 6
        anchors.verticalCenter: parent.verticalCenter
        spacing: 8

        Rectangle {
            anchors.verticalCenter: parent.verticalCenter
            width: 18
            height: 18
            radius: 4
            color: Qt.rgba(1, 1, 1, row.hovered ? 0.12 : 0.06)
            Image {
                anchors.centerIn: parent
                width: 12
                height: 12
                sourceSize: Qt.size(24, 24)
                source: row.cardModel ? "image://fileicon/" + row.cardModel.iconName(row.url) : ""
            }
        }
        Column {
            anchors.verticalCenter: parent.verticalCenter
            Text {
                width: row.width - 6 - 18 - 8 - 6 - 16
                elide: Text.ElideMiddle
                maximumLineCount: 1
                text: row.fileName
                font.pixelSize: 10
                font.weight: Font.Medium
                color: row.hovered ? "white" : Qt.rgba(1, 1, 1, 0.85)
            }
            Text {
                objectName: "recentFileDetail"
                // Read again whenever the list refreshes.
                text: row.cardModel ? (row.cardModel.revision, row.cardModel.detail(row.url)) : ""
                font.pixelSize: 7
                font.weight: Font.DemiBold
                color: Qt.rgba(1, 1, 1, 0.5)
            }
        }
    }
    SymbolImage {
        anchors.right: parent.right
        anchors.rightMargin: 6
        anchors.verticalCenter: parent.verticalCenter
        visible: row.hovered
        symbol: "hand.grab"
        size: 8
        color: Qt.rgba(1, 1, 1, 0.4)
    }

    MouseArea {
        id: pointer
        anchors.fill: parent
        hoverEnabled: true
        preventStealing: true
        onPressed: mouse => { if (row.cardModel) row.cardModel.press(row.url, mouse.x, mouse.y) }
        onPositionChanged: mouse => { if (pressed && row.cardModel) row.cardModel.move(mouse.x, mouse.y) }
        onReleased: if (row.cardModel) row.cardModel.release()
        onCanceled: if (row.cardModel) row.cardModel.cancel()
    }
}
