import QtQuick
import QtQuick.Controls
import QtQuick.Window
import Talvo

// The installed applications, to choose a favourite from: a search field
// and the list; Enter or a double click chooses, Escape closes.
Window {
    id: window

    readonly property var favorites: FavoriteAppsModel

    color: "#1e1e1e"

    function chooseCurrent() {
        if (list.currentIndex >= 0 && list.currentIndex < list.count)
            window.favorites.choose(list.model[list.currentIndex].path)
    }

    Shortcut { sequence: "Escape"; onActivated: window.favorites.closeChooser() }

    TextField {
        id: search
        objectName: "applicationSearch"
        x: 12
        y: 12
        width: window.width - 24
        placeholderText: qsTr("Search applications")
        Accessible.name: qsTr("Search applications")
        focus: true
        onTextEdited: {
            window.favorites.chooserFilter = text
            list.currentIndex = 0
        }
        Keys.onDownPressed: list.incrementCurrentIndex()
        Keys.onUpPressed: list.decrementCurrentIndex()
        Keys.onReturnPressed: window.chooseCurrent()
        Keys.onEnterPressed: window.chooseCurrent()
    }

    ListView {
        id: list
        objectName: "applicationList"
        anchors.top: search.bottom
        anchors.topMargin: 8
        anchors.bottom: parent.bottom
        width: window.width
        clip: true
        model: window.favorites ? window.favorites.chooserApplications : []
        keyNavigationEnabled: true
        highlightMoveDuration: 0
        Accessible.role: Accessible.List
        Accessible.name: qsTr("Applications")
        delegate: Item {
            required property var modelData
            required property int index
            width: list.width
            height: 36
            Accessible.role: Accessible.ListItem
            Accessible.name: modelData.name
            Rectangle {
                anchors.fill: parent
                anchors.leftMargin: 6
                anchors.rightMargin: 6
                radius: 6
                color: list.currentIndex === index ? Qt.rgba(1, 1, 1, 0.12) : "transparent"
            }
            Row {
                x: 14
                anchors.verticalCenter: parent.verticalCenter
                spacing: 10
                Image {
                    width: 24
                    height: 24
                    sourceSize: Qt.size(48, 48)
                    source: modelData.iconSource
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: modelData.name
                    color: "white"
                    font.pixelSize: 13
                }
            }
            TapHandler {
                onTapped: list.currentIndex = index
                onDoubleTapped: window.favorites.choose(modelData.path)
            }
        }
    }
}
