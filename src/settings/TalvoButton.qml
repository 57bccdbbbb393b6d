import QtQuick
import Talvo

// A push button of the settings pages: an optional symbol and a title on a
// rounded fill; Space and Enter press it.
Rectangle {
    id: button

    property string text
    property string symbol
    property color fill: Qt.rgba(1, 1, 1, 0.1)
    property color hoverFill: Qt.rgba(1, 1, 1, 0.16)
    property color textColor: "white"
    readonly property bool hovered: hover.hovered

    signal clicked()

    implicitWidth: row.implicitWidth + 28
    implicitHeight: 32
    radius: 8
    color: hovered ? hoverFill : fill
    border.width: activeFocus ? 2 : 0
    border.color: "#0a84ff"
    activeFocusOnTab: true
    scale: tap.pressed ? 0.97 : 1
    Behavior on scale { NumberAnimation { duration: 100 } }

    Accessible.role: Accessible.Button
    Accessible.name: text
    Accessible.onPressAction: button.clicked()

    Keys.onSpacePressed: button.clicked()
    Keys.onReturnPressed: button.clicked()
    Keys.onEnterPressed: button.clicked()

    Row {
        id: row
        anchors.centerIn: parent
        spacing: 6
        SymbolImage {
            anchors.verticalCenter: parent.verticalCenter
            visible: button.symbol !== ""
            symbol: button.symbol
            size: 12
            color: button.textColor
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: button.text
            color: button.textColor
            font.pixelSize: 12
            font.weight: Font.DemiBold
        }
    }

    HoverHandler { id: hover }
    TapHandler { id: tap; onTapped: button.clicked() }
}
