import QtQuick
import Talvo

// The notch window's root view for now: the notch body as a black shape of
// the current outline, so that hover, clicks and drags visibly change it.
Item {
    id: root

    Rectangle {
        color: "black"
        x: NotchWindowController.notchRect.x
        y: NotchWindowController.notchRect.y
        width: NotchWindowController.notchRect.width
        height: NotchWindowController.notchRect.height
    }
}
