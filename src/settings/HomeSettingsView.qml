import QtQuick
import Talvo

// What is new in this version, the update check and the project's web site.
Column {
    id: home
    spacing: 20

    Column {
        spacing: 6
        Text {
            text: qsTr("What's New in %1").arg("Talvo")
            color: "white"
            font.pixelSize: 22
            font.bold: true
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        Text {
            text: qsTr("Version %1").arg(SettingsController.appVersion)
            color: Qt.rgba(1, 1, 1, 0.55)
            font.pixelSize: 12
        }
    }

    Rectangle {
        width: parent.width
        height: notes.implicitHeight + 32
        radius: 12
        color: Qt.rgba(1, 1, 1, 0.05)
        border.width: 1
        border.color: Qt.rgba(1, 1, 1, 0.08)
        Accessible.role: Accessible.List
        Accessible.name: qsTr("Release notes")

        Column {
            id: notes
            x: 16
            y: 16
            width: parent.width - 32
            spacing: 10
            Repeater {
                model: SettingsController.releaseNotes
                Row {
                    required property string modelData
                    width: notes.width
                    spacing: 10
                    Accessible.role: Accessible.ListItem
                    Accessible.name: modelData
                    SymbolImage {
                        symbol: "checkmark.circle.fill"
                        size: 11
                        color: "#30d158"
                        anchors.verticalCenter: parent.verticalCenter
                    }
                    Text {
                        width: parent.width - 21
                        text: parent.modelData
                        color: Qt.rgba(1, 1, 1, 0.85)
                        font.pixelSize: 12
                        wrapMode: Text.WordWrap
                    }
                }
            }
        }
    }

    Row {
        spacing: 10
        TalvoButton {
            text: qsTr("Check for Updates")
            symbol: "arrow.triangle.2.circlepath"
            fill: "#0a84ff"
            hoverFill: "#409cff"
            onClicked: SettingsController.checkForUpdates()
        }
        TalvoButton {
            visible: SettingsController.websiteUrl.toString() !== ""
            text: qsTr("Visit Website")
            symbol: "link"
            onClicked: SettingsController.visitWebsite()
        }
    }

    Text {
        visible: text !== ""
        width: parent.width
        text: SettingsController.updateMessage
        color: Qt.rgba(1, 1, 1, 0.7)
        font.pixelSize: 12
        wrapMode: Text.WordWrap
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }
}
