import QtQuick
import Talvo

// "Clear" and "Reset" of the utility cards: a small bold text on a faint
// rounded plate that brightens under the pointer. `quiet` is the clipboard's
// variant, one size up and without a hover state.
Item {
    id: button

    property string text
    property bool quiet: false
    readonly property bool hovered: hover.hovered && !quiet

    signal clicked()

    implicitWidth: label.implicitWidth + 12
    implicitHeight: label.implicitHeight + (quiet ? 4 : 5)
    width: implicitWidth
    height: implicitHeight

    Accessible.role: Accessible.Button
    Accessible.name: text
    Accessible.onPressAction: button.clicked()

    Rectangle {
        anchors.fill: parent
        radius: 4
        color: Qt.rgba(1, 1, 1, button.quiet ? 0.04 : button.hovered ? 0.08 : 0.03)
    }
    Text {
        id: label
        anchors.centerIn: parent
        text: button.text
        font.pixelSize: button.quiet ? 9 : 8
        font.bold: true
        color: button.quiet ? Qt.rgba(1, 1, 1, 0.35) : button.hovered ? "white" : Qt.rgba(1, 1, 1, 0.4)
    }
    HoverHandler { id: hover }
    TapHandler { onTapped: button.clicked() }
}
