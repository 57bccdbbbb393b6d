import QtQuick
import Talvo

// The header row of a utility card: a symbol, a title and, at the trailing
// end, whatever the card puts inside (a small text button).
Item {
    id: header

    property string symbol
    property string title
    default property alias trailing: trailingSlot.data

    width: parent ? parent.width : 0
    height: Math.max(titleRow.height, trailingSlot.childrenRect.height) + 2

    Row {
        id: titleRow
        spacing: 4
        SymbolImage {
            anchors.verticalCenter: parent.verticalCenter
            symbol: header.symbol
            size: 10
            color: PanelColors.secondary
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: header.title
            font.pixelSize: 10
            font.bold: true
            color: PanelColors.secondary
        }
    }
    Item {
        id: trailingSlot
        anchors.right: parent.right
        anchors.verticalCenter: titleRow.verticalCenter
        width: childrenRect.width
        height: childrenRect.height
    }
}
