import QtQuick
import Talvo

// The clipboard card: the history, newest first, each entry a click away from
// the clipboard again. The clipboard is watched only while this card shows.
Item {
    id: card

    readonly property QtObject manager: ClipboardManager
    readonly property int count: manager ? historyList.count : 0

    CardPresence { shown: card.visible; model: ClipboardCardModel }

    Column {
        anchors.fill: parent
        spacing: 4

        UtilityCardHeader {
            symbol: "doc.on.clipboard"
            title: qsTr("Clipboard History")
            SmallTextButton {
                objectName: "clipboardClear"
                visible: card.count > 0
                quiet: true
                text: qsTr("Clear")
                onClicked: card.manager.clearHistory()
            }
        }

        Item {
            width: parent.width
            height: parent.height - y

            UtilityEmptyState {
                anchors.fill: parent
                visible: card.count === 0
                symbol: "doc.on.clipboard"
                title: qsTr("Clipboard Empty")
                caption: qsTr("Copied items will appear here")
            }
            UtilityListView {
                id: historyList
                objectName: "clipboardList"
                anchors.fill: parent
                visible: count > 0
                model: card.manager ? card.manager.history : null
                delegate: ClipboardListRow {}
            }
        }
    }
}
