import QtQuick
import Talvo

// The collapsed notch while music plays: the artwork at the leading end, the
// spectrum (or, under the pointer, a button that dismisses the peek for this
// track) at the trailing end, both centred in the camera-housing band.
Item {
    id: view

    required property NotchShelfLayout layout
    // Image sources of the track's artwork and of the player's icon; empty when absent.
    property url albumArt
    property url appIcon
    property bool hovering: false

    signal closeRequested()

    Item {
        x: 16
        width: view.width - 32
        height: view.layout.peekRowHeight

        Item {
            y: view.layout.peekRowTopInset
            width: parent.width
            height: 22

            Item {
                id: artwork
                width: 22
                height: 22

                readonly property url source: view.albumArt.toString() !== "" ? view.albumArt : view.appIcon

                Rectangle {
                    anchors.fill: parent
                    radius: 6
                    color: Qt.rgba(1, 1, 1, 0.1)
                    visible: artwork.source.toString() === ""

                    SymbolImage {
                        anchors.centerIn: parent
                        symbol: "music.note"
                        size: 13
                        color: Qt.rgba(1, 1, 1, 0.8)
                    }
                }
                Image {
                    anchors.fill: parent
                    source: artwork.source
                    visible: source.toString() !== ""
                    fillMode: Image.PreserveAspectCrop
                    smooth: true
                }
            }

            // Stand-in for the player's audio spectrum: four bars bouncing.
            Row {
                id: spectrum
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                width: 20
                height: 14
                spacing: 2
                opacity: view.hovering ? 0 : 1
                Behavior on opacity { MotionSpring {} }

                Repeater {
                    model: 4
                    Rectangle {
                        required property int index
                        anchors.bottom: parent.bottom
                        width: 3.5
                        radius: 1.5
                        color: "white"
                        height: 4
                        SequentialAnimation on height {
                            loops: Animation.Infinite
                            running: spectrum.opacity > 0
                            NumberAnimation { to: 14 - index * 2; duration: 260 + index * 70; easing.type: Easing.InOutSine }
                            NumberAnimation { to: 4; duration: 260 + index * 70; easing.type: Easing.InOutSine }
                        }
                    }
                }
            }

            SymbolImage {
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                symbol: "xmark.circle.fill"
                size: 14
                color: Qt.rgba(1, 1, 1, 0.6)
                opacity: view.hovering ? 1 : 0
                visible: opacity > 0
                Behavior on opacity { MotionSpring {} }

                TapHandler {
                    // Takes the press for itself, so the body's tap does not also open the panel.
                    gesturePolicy: TapHandler.ReleaseWithinBounds
                    onTapped: view.closeRequested()
                }
            }
        }
    }
}
