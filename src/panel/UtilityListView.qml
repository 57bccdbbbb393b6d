import QtQuick
import Talvo

// The scrolling list of a utility card: rows 25 high, 3 apart, no scroll
// bars. While the pointer is over it, vertical scrolling scrolls the list and
// does not switch the panel's tabs.
Item {
    id: root

    property alias model: list.model
    property alias delegate: list.delegate
    readonly property alias count: list.count

    ListView {
        id: list
        anchors.fill: parent
        clip: true
        spacing: 3
        boundsBehavior: Flickable.StopAtBounds
        flickableDirection: Flickable.VerticalFlick
    }
    ScrollableHover { hovered: listHover.hovered }
    HoverHandler { id: listHover }
}
