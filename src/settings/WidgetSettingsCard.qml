import QtQuick
import Talvo

// A widget of the catalog: symbol, title and subtitle, marked while active.
Rectangle {
    id: card

    property string title
    property string subtitle
    property string icon
    property bool isSelected: false
    readonly property bool isHovered: hover.hovered

    signal clicked()

    height: 64
    radius: 12
    color: isSelected ? Qt.rgba(0.04, 0.52, 1, 0.14) : isHovered ? Qt.rgba(1, 1, 1, 0.08) : Qt.rgba(1, 1, 1, 0.05)
    border.width: activeFocus ? 2 : 1
    border.color: activeFocus ? "#0a84ff" : isSelected ? Qt.rgba(0.04, 0.52, 1, 0.7) : Qt.rgba(1, 1, 1, 0.08)
    activeFocusOnTab: true
    scale: isHovered ? 1.01 : 1
    Behavior on scale { NumberAnimation { duration: 150 } }

    Accessible.role: Accessible.CheckBox
    Accessible.name: title
    Accessible.description: subtitle
    Accessible.checkable: true
    Accessible.checked: isSelected
    Accessible.onPressAction: card.clicked()
    Accessible.onToggleAction: card.clicked()

    Keys.onSpacePressed: card.clicked()
    Keys.onReturnPressed: card.clicked()
    Keys.onEnterPressed: card.clicked()

    Rectangle {
        id: badge
        x: 12
        anchors.verticalCenter: parent.verticalCenter
        width: 36
        height: 36
        radius: 9
        color: card.isSelected ? "#0a84ff" : Qt.rgba(1, 1, 1, 0.1)
        SymbolImage {
            anchors.centerIn: parent
            symbol: card.icon
            size: 16
        }
    }

    Column {
        anchors.left: badge.right
        anchors.leftMargin: 12
        anchors.right: check.left
        anchors.rightMargin: 8
        anchors.verticalCenter: parent.verticalCenter
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

    SymbolImage {
        id: check
        anchors.right: parent.right
        anchors.rightMargin: 14
        anchors.verticalCenter: parent.verticalCenter
        symbol: card.isSelected ? "checkmark.circle.fill" : "plus.circle.fill"
        size: 18
        color: card.isSelected ? "#0a84ff" : Qt.rgba(1, 1, 1, 0.3)
    }

    HoverHandler { id: hover }
    TapHandler { onTapped: card.clicked() }
}
