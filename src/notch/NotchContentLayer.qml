import QtQuick
import Talvo

// One of the body's content layouts. Its content exists only while it is the
// current layout or still fading out, so a layout shown again starts afresh.
// It enters by growing from `hiddenScale` at its transform origin while fading
// in, and leaves the reverse way (or, with `scalesOnExit` false, by fading only).
Item {
    id: layer

    property bool shown: false
    property real hiddenScale: 0.96
    property bool scalesOnExit: true
    property Component content

    readonly property Item contentItem: loader.item

    transformOrigin: Item.Top
    opacity: 0
    scale: hiddenScale
    visible: opacity > 0.001

    Loader {
        id: loader
        anchors.fill: parent
        active: layer.shown || layer.visible
        sourceComponent: layer.content
    }

    states: State {
        name: "shown"
        when: layer.shown
        PropertyChanges { target: layer; opacity: 1; scale: 1 }
    }

    transitions: [
        Transition {
            to: "shown"
            MotionSpring { properties: "opacity,scale" }
        },
        Transition {
            from: "shown"
            enabled: layer.scalesOnExit
            MotionSpring { properties: "opacity,scale" }
        },
        Transition {
            from: "shown"
            enabled: !layer.scalesOnExit
            SequentialAnimation {
                MotionSpring { property: "opacity" }
                PropertyAction { property: "scale" }
            }
        }
    ]
}
