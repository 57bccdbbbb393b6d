import QtQuick
import Talvo

// One widget of the ordering strip: chevrons to move it, its handle, symbol
// and short name. The strip around it does the dragging.
Rectangle {
    id: slot

    property string widgetId
    property bool isFirst: false
    property bool isLast: false
    property bool isDragged: false
    readonly property var label: WidgetOrdering.slotLabel(widgetId)

    signal moveLeft()
    signal moveRight()

    width: row.implicitWidth + 16
    height: row.implicitHeight + 12
    radius: 8
    color: Qt.rgba(1, 1, 1, isDragged ? 0.16 : 0.06)
    border.width: isDragged ? 1 : 0
    border.color: "#0a84ff"

    Accessible.role: Accessible.ListItem
    Accessible.name: label.name

    Row {
        id: row
        anchors.centerIn: parent
        spacing: 6

        Chevron {
            symbol: "chevron.left"
            enabled: !slot.isFirst
            Accessible.name: qsTr("Move %1 left").arg(slot.label.name)
            onPressed: slot.moveLeft()
        }
        SymbolImage {
            anchors.verticalCenter: parent.verticalCenter
            symbol: "line.3.horizontal"
            size: 8
            font.weight: Font.DemiBold
            color: Qt.rgba(1, 1, 1, 0.3)
        }
        SymbolImage {
            anchors.verticalCenter: parent.verticalCenter
            symbol: slot.label.symbol
            size: 10
            color: "#0a84ff"
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: slot.label.name
            color: "white"
            font.pixelSize: 9
            font.bold: true
        }
        Chevron {
            symbol: "chevron.right"
            enabled: !slot.isLast
            Accessible.name: qsTr("Move %1 right").arg(slot.label.name)
            onPressed: slot.moveRight()
        }
    }

    // A chevron button; at an end of the row it stays in place, dimmed and inactive.
    component Chevron: Rectangle {
        id: chevron
        property string symbol
        signal pressed()
        anchors.verticalCenter: parent.verticalCenter
        width: 16
        height: 16
        radius: 4
        color: activeFocus ? Qt.rgba(0.04, 0.52, 1, 0.4) : hover.hovered && enabled ? Qt.rgba(1, 1, 1, 0.12)
                                                                                   : "transparent"
        opacity: enabled ? 1 : 0.3
        activeFocusOnTab: enabled
        Accessible.role: Accessible.Button
        Accessible.onPressAction: chevron.pressed()
        Keys.onSpacePressed: chevron.pressed()
        Keys.onReturnPressed: chevron.pressed()
        Keys.onEnterPressed: chevron.pressed()
        SymbolImage {
            anchors.centerIn: parent
            symbol: chevron.symbol
            size: 8
            font.bold: true
            color: Qt.rgba(1, 1, 1, 0.5)
        }
        HoverHandler { id: hover }
        TapHandler {
            gesturePolicy: TapHandler.WithinBounds
            onTapped: chevron.pressed()
        }
    }
}
