import QtQuick
import Talvo

// The first-run window around the flow; the flow's close request goes to the
// application delegate.
Window {
    id: root
    required property QtObject closeHandler
    width: 600
    height: 480
    color: "#1c1c1e"
    title: qsTr("Welcome to Talvo")

    Component.onCompleted: OnboardingModel.windowOpened()

    Connections {
        target: OnboardingModel
        function onCloseRequested() { root.closeHandler.invoke() }
    }

    OnboardingView {
        anchors.fill: parent
        focus: true
    }
}
