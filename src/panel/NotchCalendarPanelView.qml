import QtQuick
import Talvo

// The open notch: the header (tab strip, microphone, settings, battery), the
// active tab's body (home widgets, tray, shortcuts), the "Edit Widgets" button
// at the top-trailing corner and the update banner at the bottom-trailing one.
// It exists only while the panel is shown; the managers it reads outlive it.
Item {
    id: panel

    required property NotchShelfLayout layout
    // NowPlayingManager, or anything with its members; may be null.
    property QtObject nowPlaying: null

    readonly property alias panelModel: panelModel
    readonly property int activeTab: NotchViewModel.activeTab

    PreferenceValue { id: orderPreference; key: "activeWidgetsOrder"; defaultValue: "music,weather,calendar" }
    PreferenceValue { id: tabLabelsPreference; key: "showTabLabels"; defaultValue: true }
    PreferenceValue { id: framelessPreference; key: "enableFramelessWidgets"; defaultValue: true }

    NotchPanelModel {
        id: panelModel
        activeWidgetsOrder: orderPreference.value
        showTabLabels: tabLabelsPreference.value
        enableFramelessWidgets: framelessPreference.value
        itemCount: NotchViewModel.items.count
        updateAvailable: TalvoUpdater ? TalvoUpdater.updateAvailable : false
    }

    // The capsule behind the "Edit Widgets" button and the update banner:
    // black at 0.75, a hairline of white at 0.12, a shadow of black at 0.3
    // blurred by 6 and lowered by 2.
    component FloatingControlBackground: GlassCardItem {
        readonly property real spill: shadowBlur + shadowOffsetY
        x: -spill
        y: -spill
        width: parent.width + 2 * spill
        height: parent.height + 2 * spill
        radius: parent.height / 2
        fillTop: Qt.rgba(0, 0, 0, 0.75)
        fillBottom: fillTop
        borderColor: Qt.rgba(1, 1, 1, 0.12)
        borderWidth: 0.5
        shadowColor: Qt.rgba(0, 0, 0, 0.3)
        shadowBlur: 6
        shadowOffsetY: 2
    }

    function selectTab(tab) {
        NotchViewModel.activeTab = tab
    }

    // What the control bus mirrors while the panel exists.
    readonly property var busState: ({
        panelTrayTitle: panelModel.trayTitle,
        panelCards: panelModel.activeWidgetIDs.join(","),
        panelMusicTitle: nowPlaying && nowPlaying.songTitle ? nowPlaying.songTitle : ""
    })
    onBusStateChanged: if (NotchStatePublisher) NotchStatePublisher.setPanelState(true, busState)

    Component.onCompleted: {
        if (NotchCalendarManager) {
            NotchCalendarManager.requestAccess()
            NotchCalendarManager.selectToday()
            NotchCalendarManager.fetchEvents()
        }
        if (NotchStatePublisher)
            NotchStatePublisher.setPanelState(true, busState)
    }
    Component.onDestruction: if (NotchStatePublisher) NotchStatePublisher.setPanelState(false, {})

    // --- header ---
    Item {
        id: header
        x: 32
        y: 6
        width: panel.width - 64
        height: tabStrip.height

        Item {
            id: tabStrip
            objectName: "tabStrip"
            width: tabRow.width
            height: tabRow.height

            GlassCardFrame {
                anchors.fill: parent
                radius: 12
                shadowBase: 5
                fillTop: Qt.rgba(1, 1, 1, 0.07)
            }
            // The highlight slides to the active tab.
            Rectangle {
                id: highlight
                readonly property Item target: panel.activeTab === NotchViewModel.Tray ? trayTab
                                                : panel.activeTab === NotchViewModel.Home ? homeTab : null
                visible: target !== null
                x: target ? target.x : 0
                width: target ? target.width : 0
                height: tabRow.height
                radius: 10
                color: Qt.rgba(1, 1, 1, 0.15)
                border.width: 0.5
                border.color: Qt.rgba(1, 1, 1, 0.08)
                Behavior on x { MotionSpring { motion: Springs.motion(0.3, 0.7); epsilon: 0.25 } }
                Behavior on width { MotionSpring { motion: Springs.motion(0.3, 0.7); epsilon: 0.25 } }
            }
            Row {
                id: tabRow
                component TabButton: PanelButton {
                    property int tab
                    symbolSize: 11
                    textSize: 12
                    text: panelModel.showsTabTitles ? title : ""
                    property string title
                    color: panel.activeTab === tab ? "white" : PanelColors.secondary
                    leftPadding: 14
                    rightPadding: 14
                    topPadding: 6
                    bottomPadding: 6
                    Accessible.name: title
                    onClicked: panel.selectTab(tab)
                }
                TabButton {
                    id: homeTab
                    objectName: "homeTabButton"
                    symbol: "house.fill"
                    title: qsTr("Home")
                    tab: NotchViewModel.Home
                }
                TabButton {
                    id: trayTab
                    objectName: "trayTabButton"
                    symbol: "tray.fill"
                    title: qsTr("Tray")
                    tab: NotchViewModel.Tray
                }
            }
        }

        Row {
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            spacing: 16

            PanelButton {
                readonly property bool muted: MicManager ? MicManager.isMuted : false
                anchors.verticalCenter: parent.verticalCenter
                symbol: muted ? "mic.slash.fill" : "mic.fill"
                symbolSize: 13
                symbolWeight: Font.DemiBold
                color: muted ? "#ff453a" : PanelColors.secondary
                Accessible.name: muted ? qsTr("Unmute microphone") : qsTr("Mute microphone")
                onClicked: if (MicManager) MicManager.toggleMute()
            }
            PanelButton {
                anchors.verticalCenter: parent.verticalCenter
                symbol: "gearshape.fill"
                symbolSize: 13
                color: PanelColors.secondary
                Accessible.name: qsTr("Settings")
                onClicked: if (AppDelegate) AppDelegate.showSettings()
            }
            BatteryIndicatorView {
                anchors.verticalCenter: parent.verticalCenter
            }
        }
    }

    // --- tab bodies ---
    Item {
        id: bodyArea
        y: header.y + header.height + 6
        width: panel.width
        height: panel.height - y

        component TabBody: Item {
            property bool active
            anchors.fill: parent
            opacity: active ? 1 : 0
            visible: opacity > 0
            Behavior on opacity { NumberAnimation { duration: 200; easing.type: Easing.InOutQuad } }
        }

        TabBody {
            id: homeBody
            objectName: "homeBody"
            active: panel.activeTab === NotchViewModel.Home
            onActiveChanged: if (active && NotchCalendarManager) NotchCalendarManager.requestAccess()

            PanelHomeView {
                x: 32
                width: parent.width - 64
                height: 100
                panelModel: panelModel
                nowPlaying: panel.nowPlaying
            }
        }
        TabBody {
            objectName: "trayBody"
            active: panel.activeTab === NotchViewModel.Tray
            PanelTrayView {
                anchors.fill: parent
                layout: panel.layout
                panelModel: panelModel
            }
        }
        TabBody {
            objectName: "shortcutsBody"
            active: panel.activeTab === NotchViewModel.Shortcuts
            ShortcutsTabView { anchors.fill: parent }
        }
    }

    // --- "Edit Widgets" ---
    PanelButton {
        objectName: "editWidgetsButton"
        anchors.right: parent.right
        anchors.rightMargin: 14
        y: 44
        width: 24
        height: 24
        symbol: "pencil"
        symbolSize: 11
        symbolWeight: Font.DemiBold
        color: Qt.rgba(1, 1, 1, 0.85)
        Accessible.name: qsTr("Edit Widgets")
        Accessible.description: qsTr("Edit Widgets")
        onClicked: if (AppDelegate) AppDelegate.showSettingsTab("Widgets")

        FloatingControlBackground { z: -1 }
    }

    // --- update banner ---
    Item {
        objectName: "updateBanner"
        anchors.right: parent.right
        anchors.rightMargin: 14
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 10
        width: bannerRow.width + 20
        height: bannerRow.height + 12
        visible: panelModel.showsUpdateBanner

        FloatingControlBackground {}
        Row {
            id: bannerRow
            anchors.centerIn: parent
            spacing: 6
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: qsTr("New Version Available")
                font.pixelSize: 9
                font.weight: Font.DemiBold
                color: Qt.rgba(1, 1, 1, 0.7)
            }
            PanelButton {
                anchors.verticalCenter: parent.verticalCenter
                text: qsTr("Update")
                textSize: 9
                textWeight: Font.Bold
                color: "black"
                leftPadding: 8
                rightPadding: 8
                topPadding: 3
                bottomPadding: 3
                Accessible.name: qsTr("Update")
                onClicked: if (TalvoUpdater) TalvoUpdater.checkForUpdates()
                Rectangle {
                    z: -1
                    anchors.fill: parent
                    radius: height / 2
                    color: "white"
                }
            }
        }
    }
}
