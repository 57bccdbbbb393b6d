import QtQuick
import Talvo

// The sidebar with the four pages and the selected page in a scroll view,
// over a dark backdrop (translucent black, blurred where the compositor can).
FocusScope {
    id: view

    readonly property var pages: [homePage, generalPage, widgetsPage, aboutPage]

    Rectangle {
        anchors.fill: parent
        color: Qt.rgba(0, 0, 0, 0.4)
    }

    FocusScope {
        id: sidebar
        width: 200
        height: parent.height
        activeFocusOnTab: true

        Accessible.role: Accessible.PageTabList
        Accessible.name: qsTr("Settings pages")

        // The arrow keys move through the pages.
        Keys.onUpPressed: SettingsController.selectedTab = Math.max(0, SettingsController.selectedTab - 1)
        Keys.onDownPressed: SettingsController.selectedTab = Math.min(3, SettingsController.selectedTab + 1)

        Column {
            x: 14
            y: 20
            width: parent.width - 28
            spacing: 4

            Text {
                text: "Talvo"
                color: "white"
                font.pixelSize: 15
                font.bold: true
                bottomPadding: 12
                leftPadding: 10
                Accessible.ignored: true
            }

            Repeater {
                model: SettingsController.tabTitles
                TalvoSidebarTabRow {
                    required property int index
                    required property string modelData
                    width: parent.width
                    title: modelData
                    isSelected: SettingsController.selectedTab === index
                    showsFocus: sidebar.activeFocus && isSelected
                    onClicked: SettingsController.selectedTab = index
                }
            }
        }
    }

    Rectangle {
        x: sidebar.width
        width: 1
        height: parent.height
        color: Qt.rgba(1, 1, 1, 0.1)
    }

    Flickable {
        id: scroller
        x: sidebar.width + 1
        width: parent.width - x
        height: parent.height
        contentWidth: width
        contentHeight: page.implicitHeight + 56
        clip: true
        boundsBehavior: Flickable.StopAtBounds

        Loader {
            id: page
            x: 28
            y: 28
            width: scroller.width - 56
            sourceComponent: view.pages[SettingsController.selectedTab]
            onLoaded: {
                scroller.contentY = 0
                fade.restart()
            }
        }

        MotionSpring {
            id: fade
            target: page
            property: "opacity"
            from: 0
            to: 1
            motion: Springs.motion(0.24, 0.75)
        }

        Rectangle {
            // A thin scroll indicator while the page is taller than the window.
            visible: scroller.contentHeight > scroller.height
            x: scroller.width - 6
            y: scroller.contentY + scroller.visibleArea.yPosition * scroller.height
            width: 3
            radius: 1.5
            height: scroller.visibleArea.heightRatio * scroller.height
            color: Qt.rgba(1, 1, 1, 0.25)
        }
    }

    // Keeps the control that has the keyboard focus in view.
    Connections {
        target: view.Window.window
        function onActiveFocusItemChanged() {
            const item = view.Window.activeFocusItem
            if (!item || !page.item || !view.isInside(item, page))
                return
            const top = item.mapToItem(scroller.contentItem, 0, 0).y
            if (top < scroller.contentY)
                scroller.contentY = Math.max(0, top - 12)
            else if (top + item.height > scroller.contentY + scroller.height)
                scroller.contentY = Math.min(scroller.contentHeight - scroller.height,
                                             top + item.height - scroller.height + 12)
        }
    }

    function isInside(item, ancestor) {
        for (let i = item; i; i = i.parent) {
            if (i === ancestor)
                return true
        }
        return false
    }

    Component { id: homePage; HomeSettingsView {} }
    Component { id: generalPage; GeneralSettingsView {} }
    Component { id: widgetsPage; WidgetsSettingsView {} }
    Component { id: aboutPage; AboutSettingsView {} }
}
