import QtQuick
import Talvo

// Two clouds drifting to and fro: the front one between -100 and 50 over 15 s,
// the back one between 200 and -50 over 20 s (offsets from the centre).
Item {
    id: scene

    component Cloud: SymbolImage {
        id: cloud
        property real from
        property real to
        property int duration
        property real lift
        // Offsets are measured from the centre of the scene.
        readonly property real originX: (scene.width - width) / 2
        x: originX + from
        y: (scene.height - height) / 2 + lift
        symbol: "cloud.fill"

        SequentialAnimation on x {
            loops: Animation.Infinite
            XAnimator { target: cloud; from: cloud.originX + cloud.from; to: cloud.originX + cloud.to; duration: cloud.duration }
            XAnimator { target: cloud; from: cloud.originX + cloud.to; to: cloud.originX + cloud.from; duration: cloud.duration }
        }
    }

    Cloud {
        // Back cloud first: the front one is drawn over it.
        width: 160
        height: 100
        size: 150
        color: Qt.rgba(1, 1, 1, 0.08)
        from: 200
        to: -50
        duration: 20000
        lift: 20
    }
    Cloud {
        width: 120
        height: 80
        size: 120
        color: Qt.rgba(1, 1, 1, 0.15)
        from: -100
        to: 50
        duration: 15000
        lift: -20
    }
}
