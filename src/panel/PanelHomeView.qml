import QtQuick
import Talvo

// The home tab's row of widget cards, in the order the user chose, with thin
// dividers between frameless cards; without any widget, a hint that sends the
// user to the settings.
Item {
    id: home

    required property NotchPanelModel panelModel
    property QtObject nowPlaying: null

    readonly property bool frameless: panelModel.enableFramelessWidgets
    readonly property var widths: panelModel.cardWidths(width, 16)

    Column {
        objectName: "widgetsEmptyState"
        anchors.centerIn: parent
        spacing: 8
        visible: home.panelModel.showsWidgetsEmptyState

        SymbolImage {
            anchors.horizontalCenter: parent.horizontalCenter
            symbol: "menubar.rectangle"
            size: 24
            font.weight: Font.Light
            color: PanelColors.secondary
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: qsTr("Enable widgets in Settings")
            font.pixelSize: 11
            font.weight: Font.Medium
            color: PanelColors.secondary
        }
        PanelButton {
            anchors.horizontalCenter: parent.horizontalCenter
            text: qsTr("Open Settings")
            color: Qt.rgba(1, 1, 1, 0.6)
            Accessible.name: qsTr("Open Settings")
            onClicked: if (AppDelegate) AppDelegate.showSettings()
        }
    }

    Row {
        spacing: 16
        height: parent.height

        Repeater {
            model: home.panelModel.cards
            delegate: Row {
                id: slot
                required property var modelData
                required property int index
                spacing: 16
                height: 100

                Loader {
                    objectName: "card_" + slot.modelData.id
                    width: home.widths[slot.index] || 0
                    height: 100
                    sourceComponent: {
                        switch (slot.modelData.kind) {
                        case "music": return musicCard
                        case "weather": return weatherCard
                        case "calendar": return calendarCard
                        case "clipboard": return clipboardCard
                        case "recentFiles": return recentFilesCard
                        case "colorPicker": return colorPickerCard
                        case "scratchpad": return scratchpadCard
                        case "": return null
                        default: return utilityCard
                        }
                    }
                    property var card: slot.modelData
                }
                // Between frameless cards: a thin line, centred on the cards' height.
                Item {
                    visible: slot.modelData.dividerAfter
                    width: 0.5
                    height: 100
                    Rectangle {
                        anchors.centerIn: parent
                        width: 0.5
                        height: 60
                        color: Qt.rgba(1, 1, 1, 0.12)
                    }
                }
            }
        }
    }

    Component {
        id: musicCard
        Item {
            id: music
            readonly property var card: parent ? parent.card : null
            GlassCardFrame {
                anchors.fill: parent
                framed: !home.frameless
            }
            MusicWidgetView {
                anchors.fill: parent
                nowPlaying: home.nowPlaying
                index: music.card ? music.card.index : 0
                count: music.card ? music.card.count : 1
                frameless: home.frameless
            }
        }
    }

    Component {
        id: weatherCard
        WeatherWidgetView {
            weather: WeatherManager
            frameless: home.frameless
        }
    }

    Component {
        id: calendarCard
        Item {
            GlassCardFrame {
                anchors.fill: parent
                framed: !home.frameless
                fillTop: home.frameless ? "transparent" : Qt.rgba(1, 1, 1, 0.1)
                fillBottom: home.frameless ? "transparent" : Qt.rgba(1, 1, 1, 0.04)
            }
            CalendarWidgetView {
                anchors.fill: parent
                calendar: NotchCalendarManager
                frameless: home.frameless
            }
        }
    }

    Component {
        id: utilityCard
        Item {
            GlassCardFrame {
                anchors.fill: parent
                framed: !home.frameless
                fillTop: home.frameless ? "transparent" : Qt.rgba(1, 1, 1, 0.1)
                fillBottom: home.frameless ? "transparent" : Qt.rgba(1, 1, 1, 0.04)
            }
        }
    }

    // The utility cards: their frame, then the content inset 16 at the sides
    // and 10 at the top and bottom.
    component UtilityCard: Item {
        default property alias content: inset.data
        GlassCardFrame {
            anchors.fill: parent
            framed: !home.frameless
            fillTop: home.frameless ? "transparent" : Qt.rgba(1, 1, 1, 0.1)
            fillBottom: home.frameless ? "transparent" : Qt.rgba(1, 1, 1, 0.04)
        }
        Item {
            id: inset
            anchors.fill: parent
            anchors.leftMargin: 16
            anchors.rightMargin: 16
            anchors.topMargin: 10
            anchors.bottomMargin: 10
        }
    }
    Component {
        id: clipboardCard
        UtilityCard { ClipboardWidgetView { anchors.fill: parent } }
    }
    Component {
        id: recentFilesCard
        UtilityCard { RecentFilesWidgetView { anchors.fill: parent } }
    }
    Component {
        id: colorPickerCard
        UtilityCard { ColorPickerWidgetView { anchors.fill: parent } }
    }
    Component {
        id: scratchpadCard
        UtilityCard { ScratchpadWidgetView { anchors.fill: parent } }
    }
}
