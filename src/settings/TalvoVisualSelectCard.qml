import QtQuick
import Talvo

// A large selectable option with a small illustration of what it chooses.
// The flags pick the illustration: a theme (OLED or glass body), a widget
// border style (framed or frameless cards), a shelf style (attached notch or
// floating pill) or a target display (main screen or the pointer's screen).
Rectangle {
    id: card

    property string title
    property string subtitle
    property string icon
    property color accent: "#0a84ff"
    property bool isSelected: false
    property bool isThemeSelector: false
    property bool isGlass: false
    property bool isFrameless: false
    property bool isNotchSelector: false
    property bool isDisplaySelector: false
    property bool isFloating: false
    property bool isRecommended: false
    // The badge shown while isRecommended.
    property string badgeText: qsTr("Recommended")
    // With isDisplaySelector: the screen under the pointer rather than the main one.
    property bool followsPointer: false
    readonly property bool hovered: hover.hovered

    signal clicked()

    implicitHeight: 168
    radius: 12
    color: isSelected ? Qt.rgba(accent.r, accent.g, accent.b, 0.14) : hovered ? Qt.rgba(1, 1, 1, 0.08)
                                                                            : Qt.rgba(1, 1, 1, 0.05)
    border.width: activeFocus ? 2 : 1
    border.color: activeFocus ? "#0a84ff" : isSelected ? accent : Qt.rgba(1, 1, 1, 0.08)
    activeFocusOnTab: true
    scale: hovered ? 1.01 : 1
    Behavior on scale { NumberAnimation { duration: 150 } }

    Accessible.role: Accessible.RadioButton
    Accessible.name: title
    Accessible.description: subtitle
    Accessible.checkable: true
    Accessible.checked: isSelected
    Accessible.onPressAction: card.clicked()

    Keys.onSpacePressed: card.clicked()
    Keys.onReturnPressed: card.clicked()
    Keys.onEnterPressed: card.clicked()

    // The illustration: a little screen with the notch drawn as chosen.
    Rectangle {
        id: screen
        x: 14
        y: 14
        width: parent.width - 28
        height: 78
        radius: 8
        clip: true
        gradient: Gradient {
            GradientStop { position: 0; color: "#3a4a6b" }
            GradientStop { position: 1; color: "#1d2536" }
        }

        // Target display: two screens, the chosen one lit.
        Row {
            visible: card.isDisplaySelector
            anchors.centerIn: parent
            spacing: 10
            Repeater {
                model: 2
                Rectangle {
                    required property int index
                    width: 52
                    height: 34
                    radius: 4
                    color: "transparent"
                    border.width: 1.5
                    border.color: (index === 0) !== card.followsPointer ? card.accent : Qt.rgba(1, 1, 1, 0.35)
                    Rectangle {
                        anchors.horizontalCenter: parent.horizontalCenter
                        y: 1.5
                        width: 18
                        height: 5
                        radius: 2
                        color: "black"
                        visible: (index === 0) !== card.followsPointer
                    }
                    SymbolImage {
                        visible: card.followsPointer && index === 1
                        anchors.centerIn: parent
                        symbol: "cursorarrow.motionlines"
                        size: 13
                    }
                }
            }
        }

        // The notch body: attached to the top edge or a floating pill.
        Rectangle {
            visible: !card.isDisplaySelector
            anchors.horizontalCenter: parent.horizontalCenter
            y: card.isNotchSelector && card.isFloating ? 8 : -radius
            width: card.isThemeSelector || card.isFrameless || !card.isNotchSelector ? parent.width * 0.7 : 70
            height: card.isThemeSelector || !card.isNotchSelector ? 60 : 18
            radius: card.isNotchSelector && card.isFloating ? height / 2 : 9
            color: card.isGlass ? Qt.rgba(1, 1, 1, 0.22) : "black"
            border.width: card.isGlass ? 1 : 0
            border.color: Qt.rgba(1, 1, 1, 0.35)

            // Widget cards inside the open body: framed or frameless.
            Row {
                visible: !card.isNotchSelector
                anchors.horizontalCenter: parent.horizontalCenter
                y: 18
                spacing: 6
                Repeater {
                    model: 3
                    Rectangle {
                        width: 26
                        height: 28
                        radius: 5
                        color: card.isThemeSelector ? Qt.rgba(1, 1, 1, 0.12)
                                                    : card.isFrameless ? "transparent" : Qt.rgba(1, 1, 1, 0.14)
                        border.width: card.isFrameless && !card.isThemeSelector ? 0 : 1
                        border.color: Qt.rgba(1, 1, 1, 0.2)
                        Rectangle {
                            anchors.centerIn: parent
                            width: 14
                            height: 3
                            radius: 1.5
                            color: Qt.rgba(1, 1, 1, 0.6)
                        }
                    }
                }
            }
        }
    }

    Row {
        x: 14
        anchors.top: screen.bottom
        anchors.topMargin: 12
        width: parent.width - 28
        spacing: 8

        SymbolImage {
            symbol: card.icon
            size: 15
            color: card.isSelected ? card.accent : Qt.rgba(1, 1, 1, 0.7)
        }
        Column {
            width: parent.width - 50
            spacing: 2
            Text {
                width: parent.width
                text: card.title
                color: "white"
                font.pixelSize: 13
                font.weight: Font.DemiBold
                elide: Text.ElideRight
            }
            Text {
                width: parent.width
                text: card.subtitle
                color: Qt.rgba(1, 1, 1, 0.55)
                font.pixelSize: 11
                elide: Text.ElideRight
            }
        }
    }

    SymbolImage {
        visible: card.isSelected
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: 14
        symbol: "checkmark.circle.fill"
        size: 16
        color: card.accent
    }

    Rectangle {
        visible: card.isRecommended
        anchors.right: screen.right
        anchors.top: screen.top
        anchors.margins: 6
        width: badge.implicitWidth + 12
        height: 18
        radius: 9
        color: Qt.rgba(0.19, 0.82, 0.35, 0.9)
        Text {
            id: badge
            anchors.centerIn: parent
            text: card.badgeText
            color: "white"
            font.pixelSize: 9
            font.bold: true
        }
    }

    HoverHandler { id: hover }
    TapHandler { onTapped: card.clicked() }
}
