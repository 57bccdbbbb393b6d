import QtQuick
import Talvo

// Clouds with rain: 25 slanted streaks, each falling from above the top edge
// to below the bottom one while drifting 24 to the right, over and over. The
// falls start one short moment after the scene appears, so that the first
// frame shows every streak at its start.
Item {
    id: scene

    readonly property alias shower: shower

    RainShower { id: shower }
    Component.onCompleted: shower.start()

    AnimatedCloudView { anchors.fill: parent }

    Item {
        id: area
        anchors.fill: parent

        Repeater {
            model: shower.drops
            delegate: Rectangle {
                id: streak
                required property var modelData
                required property int index
                readonly property point start: shower.centreOf(index, area.width, area.height, false)
                readonly property point end: shower.centreOf(index, area.width, area.height, true)

                width: 1.2
                height: modelData.length
                rotation: 8
                color: Qt.rgba(1, 1, 1, modelData.opacity * 0.4)
                x: start.x - width / 2
                y: start.y - height / 2

                SequentialAnimation {
                    running: shower.falling
                    PauseAnimation { duration: streak.modelData.delay * 1000 }
                    ParallelAnimation {
                        loops: Animation.Infinite
                        XAnimator {
                            target: streak
                            from: streak.start.x - streak.width / 2
                            to: streak.end.x - streak.width / 2
                            duration: streak.modelData.speed * 1000
                        }
                        YAnimator {
                            target: streak
                            from: streak.start.y - streak.height / 2
                            to: streak.end.y - streak.height / 2
                            duration: streak.modelData.speed * 1000
                        }
                    }
                }
            }
        }
    }
}
