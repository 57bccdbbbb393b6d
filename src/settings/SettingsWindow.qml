import QtQuick
import Talvo

// The settings window; its pages come with the settings work.
Window {
    id: root
    width: 980
    height: 680
    color: "#1c1c1e"

    // The page on show, by its display name ("Home", "General", "Widgets", "About").
    property string currentPage: "Home"

    // Switches to the page with this display name.
    function showPage(name) {
        currentPage = name
    }

    Connections {
        target: AppDelegate
        function onSettingsTabRequested(tabName) { root.showPage(tabName) }
    }

    Text {
        anchors.centerIn: parent
        text: qsTr("Talvo Settings")
        color: "white"
        font.pixelSize: 22
    }
}
