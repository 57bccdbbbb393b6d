import QtQuick
import Talvo

// Quitting the program and the footer with name and version.
Column {
    id: about
    spacing: 24

    Text {
        text: qsTr("About")
        color: "white"
        font.pixelSize: 22
        font.bold: true
        Accessible.role: Accessible.Heading
        Accessible.name: text
    }

    TalvoSettingsSection {
        width: parent.width
        title: qsTr("System Actions")

        TalvoSettingsRow {
            width: parent.width
            label: qsTr("Quit Application")
            sublabel: qsTr("Close the notch and every Talvo window")
            icon: "power.circle.fill"
            iconColor: "#ff453a"
            TalvoButton {
                id: quitButton
                readonly property bool isQuitHovered: hovered
                text: qsTr("Quit Talvo")
                fill: isQuitHovered ? "#ff453a" : Qt.rgba(1, 0.27, 0.23, 0.18)
                hoverFill: "#ff453a"
                textColor: isQuitHovered ? "white" : "#ff6961"
                onClicked: SettingsController.quit()
            }
        }
    }

    // The footer.
    Column {
        width: parent.width
        topPadding: 24
        spacing: 4
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Talvo"
            color: "white"
            font.pixelSize: 17
            font.bold: true
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: qsTr("Version %1").arg(SettingsController.appVersion)
            color: Qt.rgba(1, 1, 1, 0.55)
            font.pixelSize: 11
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: qsTr("Made with ♥ for Linux")
            color: Qt.rgba(1, 1, 1, 0.4)
            font.pixelSize: 11
        }
    }
}
