import QtQuick
import Talvo

// The five-bar equaliser, 20 × 14: each bar 2 wide, 4 apart, scaled about its
// middle to the height AudioSpectrum gives it, with a soft glow in the
// player's colour.
Item {
    id: root
    property bool isPlaying: false
    property string appName: ""

    implicitWidth: 20
    implicitHeight: 14

    AudioSpectrum {
        id: spectrum
        playing: root.isPlaying
        appName: root.appName
    }

    Repeater {
        model: 5
        delegate: Item {
            id: bar
            required property int index
            x: 4 * index
            width: 2
            height: 14

            // The glow: a slightly larger, faint bar behind.
            Rectangle {
                anchors.centerIn: parent
                width: parent.width + 2
                height: parent.height
                radius: 2
                color: spectrum.glowColor
                opacity: 0.35
                transform: Scale { origin.y: 7; yScale: barScale.yScale }
            }
            Rectangle {
                anchors.fill: parent
                radius: 1
                gradient: Gradient {
                    GradientStop { position: 0; color: spectrum.tipColor }
                    GradientStop { position: 1; color: spectrum.baseColor }
                }
                transform: Scale {
                    id: barScale
                    origin.y: 7
                    yScale: spectrum.scales[bar.index]
                    Behavior on yScale {
                        enabled: spectrum.animating
                        NumberAnimation { duration: spectrum.stepMs }
                    }
                }
            }
        }
    }
}
