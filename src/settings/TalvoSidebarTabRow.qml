import QtQuick
import Talvo

// One page of the sidebar: its title on a rounded highlight when selected or hovered.
Rectangle {
    id: row

    property string title
    property bool isSelected: false
    property bool showsFocus: false
    readonly property bool isHovered: hover.hovered

    signal clicked()

    implicitHeight: label.implicitHeight + 16
    radius: 8
    color: isSelected ? Qt.rgba(1, 1, 1, 0.16) : isHovered ? Qt.rgba(1, 1, 1, 0.06) : "transparent"
    border.width: showsFocus ? 2 : 0
    border.color: "#0a84ff"
    Behavior on color { ColorAnimation { duration: 150; easing.type: Easing.OutQuad } }

    Accessible.role: Accessible.PageTab
    Accessible.name: title
    Accessible.selected: isSelected
    Accessible.onPressAction: row.clicked()

    Text {
        id: label
        x: 10
        anchors.verticalCenter: parent.verticalCenter
        text: row.title
        color: row.isSelected ? "white" : Qt.rgba(1, 1, 1, 0.6)
        font.pixelSize: 13
        font.weight: row.isSelected ? Font.DemiBold : Font.Normal
    }

    HoverHandler { id: hover }
    TapHandler { onTapped: row.clicked() }
}
