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

    // Behaviours rather than state transitions: a spring of a transition cut
    // short by the next one can stop where it stands, and the layer stays
    // half faded over the next one for good. A behaviour takes each new goal
    // from wherever the value is.
    Behavior on opacity { MotionSpring {} }
    Behavior on scale {
        // Fading only, the hidden scale is taken once out of sight.
        enabled: layer.shown || layer.visible
        MotionSpring {}
    }
    // Bound once complete, so that a layer shown from the start enters too.
    Component.onCompleted: {
        opacity = Qt.binding(() => layer.shown ? 1 : 0)
        scale = Qt.binding(() => layer.shown || (layer.visible && !layer.scalesOnExit) ? 1 : layer.hiddenScale)
    }

    Loader {
        id: loader
        anchors.fill: parent
        active: layer.shown || layer.visible
        sourceComponent: layer.content
    }
}
