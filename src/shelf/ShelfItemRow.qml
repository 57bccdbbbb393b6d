import QtQuick
import Talvo

// The shelf's items as a row of tiles, oldest first; insertions and removals
// move with the shelf spring.
ListView {
    id: row

    // One tile high (ShelfItemView) within the margins.
    height: 84 + topMargin + bottomMargin
    orientation: ListView.Horizontal
    spacing: 10
    interactive: false
    model: NotchViewModel.items
    delegate: ShelfItemView {
        required property var model
        itemId: model.id
        displayTitle: model.displayTitle
    }

    add: Transition {
        MotionSpring { motion: Springs.shelf; properties: "scale,opacity"; from: 0.00001; to: 1 }
    }
    remove: Transition {
        MotionSpring { motion: Springs.shelf; properties: "scale,opacity"; to: 0.00001 }
    }
    displaced: Transition {
        MotionSpring { motion: Springs.shelf; properties: "x"; epsilon: 0.25 }
    }
}
