import QtQuick

// The first-run window; its flow comes with the onboarding work.
Window {
    id: root
    required property QtObject closeHandler
    width: 600
    height: 480
    color: "#1c1c1e"

    Column {
        anchors.centerIn: parent
        spacing: 24

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Welcome to Talvo"
            color: "white"
            font.pixelSize: 26
        }

        Rectangle {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 160
            height: 36
            radius: 18
            color: "white"

            Text {
                anchors.centerIn: parent
                text: "Get Started"
                color: "black"
                font.pixelSize: 15
            }

            TapHandler {
                onTapped: root.closeHandler.invoke()
            }
        }
    }
}
