import QtQuick
import Talvo

// Reports the pointer over a scrolling part of the panel to the notch, which
// then leaves vertical scrolling to that part. Let go when it disappears.
QtObject {
    property bool hovered: false
    property bool reported: false

    function report(value) {
        if (value === reported || !NotchViewModel)
            return
        reported = value
        NotchViewModel.isHoveringScrollableWidget = value
    }
    onHoveredChanged: report(hovered)
    Component.onDestruction: report(false)
}
