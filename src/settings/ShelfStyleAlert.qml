import QtQuick
import Talvo

// Asks before a shelf style that does not suit the hardware is stored; the
// window behind it takes no input while it shows. The controller is the
// settings window's or the first-run flow's: both offer showingShelfAlert,
// shelfAlertText, confirmShelfChange() and cancelShelfChange().
Rectangle {
    id: alert
    property QtObject controller: SettingsController

    visible: controller.showingShelfAlert
    color: Qt.rgba(0, 0, 0, 0.45)
    z: 100

    onVisibleChanged: if (visible) changeButton.forceActiveFocus()

    // Swallows clicks and scrolls meant for the page below.
    MouseArea {
        anchors.fill: parent
        hoverEnabled: true
        onWheel: wheel => wheel.accepted = true
    }

    Rectangle {
        id: box
        anchors.centerIn: parent
        width: 340
        height: content.implicitHeight + 40
        radius: 14
        color: "#2c2c2e"
        border.width: 1
        border.color: Qt.rgba(1, 1, 1, 0.12)

        Accessible.role: Accessible.AlertMessage
        Accessible.name: title.text
        Accessible.description: message.text

        Keys.onEscapePressed: alert.controller.cancelShelfChange()

        Column {
            id: content
            x: 20
            y: 20
            width: parent.width - 40
            spacing: 12

            SymbolImage {
                anchors.horizontalCenter: parent.horizontalCenter
                symbol: "exclamationmark.triangle.fill"
                size: 28
                color: "#ffd60a"
            }
            Text {
                id: title
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                text: qsTr("Not Recommended")
                color: "white"
                font.pixelSize: 15
                font.bold: true
            }
            Text {
                id: message
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.WordWrap
                text: alert.controller.shelfAlertText
                color: Qt.rgba(1, 1, 1, 0.7)
                font.pixelSize: 12
            }
            Row {
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: 10
                TalvoButton {
                    text: qsTr("Cancel")
                    onClicked: alert.controller.cancelShelfChange()
                    Keys.onEscapePressed: alert.controller.cancelShelfChange()
                }
                TalvoButton {
                    id: changeButton
                    text: qsTr("Change Anyway")
                    fill: "#0a84ff"
                    hoverFill: "#409cff"
                    onClicked: alert.controller.confirmShelfChange()
                    Keys.onEscapePressed: alert.controller.cancelShelfChange()
                }
            }
        }
    }
}
