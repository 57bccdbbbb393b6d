import QtQuick
import Talvo

// System and appearance preferences. Every choice is stored at once; the
// appearance choices open the notch for a few seconds as a preview.
Column {
    id: general
    spacing: 24

    PreferenceValue { id: showMicTrayIcon; key: "showMicMenuBarIcon" }
    PreferenceValue { id: glassUI; key: "enableGlassUI" }
    PreferenceValue { id: tabLabels; key: "showTabLabels" }
    PreferenceValue { id: frameless; key: "enableFramelessWidgets" }
    PreferenceValue { id: shelfStyle; key: "shelfStyle" }
    PreferenceValue { id: targetDisplay; key: "targetDisplay" }

    readonly property real cardWidth: (width - 12) / 2

    Text {
        text: qsTr("General")
        color: "white"
        font.pixelSize: 22
        font.bold: true
        Accessible.role: Accessible.Heading
        Accessible.name: text
    }

    TalvoSettingsSection {
        width: parent.width
        title: qsTr("System Settings")

        TalvoSettingsRow {
            width: parent.width
            label: qsTr("Launch at Login")
            sublabel: qsTr("Start Talvo automatically when you log in")
            icon: "power"
            iconColor: "#30d158"
            TalvoSwitch {
                accessibleName: qsTr("Launch at Login")
                checked: SettingsController.launchAtLogin
                onToggled: on => SettingsController.launchAtLogin = on
            }
        }
        TalvoSettingsRow {
            width: parent.width
            label: qsTr("Tray Mic Status")
            sublabel: qsTr("Show a red microphone icon in the system tray while muted")
            icon: "mic.slash.fill"
            iconColor: "#ff453a"
            TalvoSwitch {
                accessibleName: qsTr("Tray Mic Status")
                checked: showMicTrayIcon.value
                onToggled: on => showMicTrayIcon.value = on
            }
        }
    }

    TalvoSettingsSection {
        width: parent.width
        title: qsTr("Appearance")

        CardPair {
            title: qsTr("Target Display")
            TalvoVisualSelectCard {
                width: general.cardWidth
                title: qsTr("Main Display")
                subtitle: qsTr("Primary screen (Default)")
                icon: "desktopcomputer"
                isDisplaySelector: true
                isSelected: targetDisplay.value !== "active"
                onClicked: SettingsController.chooseTargetDisplay("main")
            }
            TalvoVisualSelectCard {
                width: general.cardWidth
                title: qsTr("Follow Active Screen")
                subtitle: qsTr("Follows active mouse screen")
                icon: "cursorarrow.motionlines"
                isDisplaySelector: true
                followsPointer: true
                isSelected: targetDisplay.value === "active"
                onClicked: SettingsController.chooseTargetDisplay("active")
            }
        }

        CardPair {
            title: qsTr("Theme Style")
            TalvoVisualSelectCard {
                width: general.cardWidth
                title: qsTr("OLED Dark UI")
                subtitle: qsTr("Classic minimal black theme")
                icon: "rectangle.fill"
                isThemeSelector: true
                isSelected: !glassUI.value
                onClicked: SettingsController.chooseGlassUI(false)
            }
            TalvoVisualSelectCard {
                width: general.cardWidth
                title: qsTr("Glass UI")
                subtitle: qsTr("Frosted glass effect")
                icon: "macwindow.on.rectangle"
                accent: "#64d2ff"
                isThemeSelector: true
                isGlass: true
                isSelected: glassUI.value
                onClicked: SettingsController.chooseGlassUI(true)
            }
        }

        CardPair {
            title: qsTr("Widget Border Style")
            TalvoVisualSelectCard {
                width: general.cardWidth
                title: qsTr("Framed UI")
                subtitle: qsTr("Sleek card backgrounds & borders")
                icon: "square.fill"
                isSelected: !frameless.value
                onClicked: SettingsController.chooseFramelessWidgets(false)
            }
            TalvoVisualSelectCard {
                width: general.cardWidth
                title: qsTr("Frameless UI")
                subtitle: qsTr("Clean transparent widgets")
                icon: "square.dashed"
                isFrameless: true
                isSelected: frameless.value
                onClicked: SettingsController.chooseFramelessWidgets(true)
            }
        }

        CardPair {
            title: qsTr("Shelf Position Style")
            TalvoVisualSelectCard {
                width: general.cardWidth
                title: qsTr("Hardware Notch")
                subtitle: qsTr("Attached to top bezel")
                icon: "display"
                isNotchSelector: true
                isRecommended: SettingsController.hasPhysicalNotch
                isSelected: shelfStyle.value !== "floating"
                onClicked: SettingsController.chooseShelfStyle("attached")
            }
            TalvoVisualSelectCard {
                width: general.cardWidth
                title: qsTr("Floating Island")
                subtitle: qsTr("Floats below the top panel")
                icon: "capsule.fill"
                accent: "#bf5af2"
                isNotchSelector: true
                isFloating: true
                isSelected: shelfStyle.value === "floating"
                onClicked: SettingsController.chooseShelfStyle("floating")
            }
        }

        TalvoSettingsRow {
            width: parent.width
            label: qsTr("Show Tab Labels")
            sublabel: qsTr("Show name labels on navigation tabs")
            icon: "tag.fill"
            iconColor: "#ff9f0a"
            TalvoSwitch {
                accessibleName: qsTr("Show Tab Labels")
                checked: tabLabels.value
                onToggled: on => tabLabels.value = on
            }
        }
    }

    ShelfStyleAlert {
        parent: general.Window.contentItem
        anchors.fill: parent
    }

    // A label above two cards side by side.
    component CardPair: Column {
        id: cardPair
        property string title
        default property alias cards: pair.data
        width: parent ? parent.width : 0
        spacing: 8
        Text {
            text: cardPair.title
            color: Qt.rgba(1, 1, 1, 0.8)
            font.pixelSize: 12
            font.weight: Font.DemiBold
        }
        Row {
            id: pair
            spacing: 12
        }
    }
}
