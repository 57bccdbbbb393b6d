import QtQuick
import Talvo

// The settings window: the sidebar and the selected page.
Window {
    id: root
    width: 980
    height: 680
    // Set by the window factory when the compositor blurs behind the window.
    property bool blurBehind: false
    color: blurBehind ? "transparent" : "#161618"
    title: qsTr("Talvo Settings")

    // Switches to the page with this display name ("Widgets"); other names are ignored.
    function showPage(name) {
        SettingsController.showPage(name)
    }

    Component.onCompleted: SettingsController.windowOpened()

    TalvoSettingsView {
        anchors.fill: parent
        focus: true
    }
}
