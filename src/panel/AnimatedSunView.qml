import QtQuick
import Talvo

// A sun that turns once every 20 s behind a glow that breathes between 1.0
// and 1.2 of its size over 3 s. Both run as animators on the scene graph.
Item {
    id: scene

    readonly property color yellow: Qt.rgba(1, 0.8, 0, 1)

    SoftGlowItem {
        id: glow
        anchors.centerIn: parent
        width: 280
        height: 280
        discRadius: 100
        blur: 40
        color: Qt.rgba(scene.yellow.r, scene.yellow.g, scene.yellow.b, 0.12)

        SequentialAnimation on scale {
            loops: Animation.Infinite
            ScaleAnimator { target: glow; from: 1.0; to: 1.2; duration: 3000; easing.type: Easing.InOutQuad }
            ScaleAnimator { target: glow; from: 1.2; to: 1.0; duration: 3000; easing.type: Easing.InOutQuad }
        }
    }

    SymbolImage {
        id: sun
        anchors.centerIn: parent
        width: 80
        height: 80
        symbol: "sun.max.fill"
        size: 80
        color: Qt.rgba(scene.yellow.r, scene.yellow.g, scene.yellow.b, 0.15)

        RotationAnimator on rotation {
            from: 0
            to: 360
            duration: 20000
            loops: Animation.Infinite
        }
    }
}
