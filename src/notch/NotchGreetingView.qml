import QtQuick
import Talvo

// The first-run greeting: one word at a time in a warm gradient, each new word
// rising in from below while the last one floats up and away.
Item {
    id: view

    // Words appear only after the sequence has restarted, so that a second
    // showing does not animate from where the first one ended.
    property bool started: false

    Component.onCompleted: {
        NotchGreetingSequence.start()
        started = true
    }

    Repeater {
        model: view.started ? NotchGreetingSequence.greetings : []

        delegate: Canvas {
            id: word

            required property int index
            required property string modelData
            // < 0: already passed, 0: showing, > 0: still to come.
            readonly property int place: index - NotchGreetingSequence.currentIndex

            anchors.horizontalCenter: parent.horizontalCenter
            y: (view.height - height) / 2 + shift
            width: Math.ceil(metrics.advanceWidth) + 4
            height: Math.ceil(metrics.height) + 4
            visible: opacity > 0.001

            property real shift: place < 0 ? -12 : place > 0 ? 12 : 0
            opacity: place === 0 ? 1 : 0
            scale: place < 0 ? 1.05 : place > 0 ? 0.9 : 1

            Behavior on shift { MotionSpring { motion: Springs.greeting; epsilon: 0.1 } }
            Behavior on opacity { MotionSpring { motion: Springs.greeting } }
            Behavior on scale { MotionSpring { motion: Springs.greeting } }

            TextMetrics {
                id: metrics
                text: word.modelData
                font.family: "serif"
                font.pixelSize: 26
                font.bold: true
            }

            onPaint: {
                const ctx = getContext("2d")
                ctx.clearRect(0, 0, width, height)
                const fill = ctx.createLinearGradient(0, 0, width, height)
                fill.addColorStop(0.0, Qt.rgba(0.98, 0.4, 0.4, 1))
                fill.addColorStop(0.5, Qt.rgba(0.85, 0.35, 0.9, 1))
                fill.addColorStop(1.0, Qt.rgba(0.3, 0.65, 0.95, 1))
                ctx.fillStyle = fill
                ctx.font = "bold 26px serif"
                ctx.textBaseline = "middle"
                ctx.textAlign = "center"
                ctx.fillText(modelData, width / 2, height / 2)
            }
        }
    }
}
