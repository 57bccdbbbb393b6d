import QtQuick
import Talvo

// A plain button of the panel: a symbol, a text, or both side by side, with
// no look of its own beyond the content. Callers set Accessible.name.
Item {
    id: button

    property string symbol
    property real symbolSize: 13
    property int symbolWeight: Font.Normal
    property string text
    property real textSize: 11
    property int textWeight: Font.DemiBold
    property color color: "white"
    property real spacing: 6
    property real leftPadding: 0
    property real rightPadding: 0
    property real topPadding: 0
    property real bottomPadding: 0
    readonly property bool hovered: hover.hovered

    signal clicked()

    implicitWidth: row.implicitWidth + leftPadding + rightPadding
    implicitHeight: row.implicitHeight + topPadding + bottomPadding
    width: implicitWidth
    height: implicitHeight

    Accessible.role: Accessible.Button
    Accessible.onPressAction: button.clicked()

    Row {
        id: row
        x: button.leftPadding + (button.width - button.leftPadding - button.rightPadding - implicitWidth) / 2
        y: button.topPadding + (button.height - button.topPadding - button.bottomPadding - implicitHeight) / 2
        spacing: button.symbol && button.text ? button.spacing : 0

        SymbolImage {
            anchors.verticalCenter: parent.verticalCenter
            visible: button.symbol !== ""
            symbol: button.symbol
            size: button.symbolSize
            font.weight: button.symbolWeight
            color: button.color
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            visible: button.text !== ""
            text: button.text
            font.pixelSize: button.textSize
            font.weight: button.textWeight
            color: button.color
        }
    }

    HoverHandler { id: hover }
    TapHandler { onTapped: button.clicked() }
}
