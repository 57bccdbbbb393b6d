import QtQuick

// The settings window; its pages come with the settings work.
Window {
    id: root
    width: 980
    height: 680
    color: "#1c1c1e"

    Text {
        anchors.centerIn: parent
        text: "Talvo Settings"
        color: "white"
        font.pixelSize: 22
    }
}
