import QtQuick
import Talvo

// A row of a settings section: symbol, label and sublabel, and a trailing control.
Rectangle {
    id: row

    property string label
    property string sublabel
    property string icon
    property color iconColor: "#0a84ff"
    default property alias control: trailing.data
    readonly property bool isHovering: hover.hovered

    implicitHeight: Math.max(texts.implicitHeight, trailing.childrenRect.height) + 24
    radius: 10
    color: isHovering ? Qt.rgba(1, 1, 1, 0.08) : Qt.rgba(1, 1, 1, 0.05)
    border.width: 1
    border.color: Qt.rgba(1, 1, 1, 0.08)

    Rectangle {
        id: badge
        x: 12
        anchors.verticalCenter: parent.verticalCenter
        width: 28
        height: 28
        radius: 7
        color: Qt.rgba(row.iconColor.r, row.iconColor.g, row.iconColor.b, 0.18)
        SymbolImage {
            anchors.centerIn: parent
            symbol: row.icon
            size: 14
            color: row.iconColor
        }
    }

    Column {
        id: texts
        anchors.left: badge.right
        anchors.leftMargin: 12
        anchors.right: trailing.left
        anchors.rightMargin: 12
        anchors.verticalCenter: parent.verticalCenter
        spacing: 2
        Text {
            width: parent.width
            text: row.label
            color: "white"
            font.pixelSize: 13
            font.weight: Font.DemiBold
            elide: Text.ElideRight
        }
        Text {
            width: parent.width
            visible: row.sublabel !== ""
            text: row.sublabel
            color: Qt.rgba(1, 1, 1, 0.55)
            font.pixelSize: 11
            wrapMode: Text.WordWrap
        }
    }

    Item {
        id: trailing
        anchors.right: parent.right
        anchors.rightMargin: 14
        anchors.verticalCenter: parent.verticalCenter
        width: childrenRect.width
        height: childrenRect.height
    }

    HoverHandler { id: hover }
}
