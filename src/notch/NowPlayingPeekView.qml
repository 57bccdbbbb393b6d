import QtQuick
import Talvo

// The collapsed notch while music plays: the artwork (else the player's icon,
// else a note) at the leading end, the equaliser (or, under the pointer, a
// button that dismisses the peek for this track) at the trailing end, both
// centred in the camera-housing band.
Item {
    id: view

    required property NotchShelfLayout layout
    // The player's state: NowPlayingManager, or anything with its members
    // (hasAlbumArt, albumArt, hasAppIcon, appIcon, appName); may be null.
    property QtObject nowPlaying: null
    property bool hovering: false

    signal closeRequested()

    Item {
        x: 16
        width: view.width - 32
        height: view.layout.peekRowHeight

        Item {
            y: view.layout.peekRowTopInset
            width: parent.width
            height: view.layout.peekContentSize

            Item {
                id: artwork
                width: view.layout.peekContentSize
                height: view.layout.peekContentSize

                readonly property bool hasAlbumArt: view.nowPlaying !== null && view.nowPlaying.hasAlbumArt
                readonly property bool hasAppIcon: view.nowPlaying !== null && view.nowPlaying.hasAppIcon

                Rectangle {
                    anchors.fill: parent
                    radius: 6
                    color: Qt.rgba(1, 1, 1, 0.1)
                    visible: !artwork.hasAlbumArt && !artwork.hasAppIcon

                    SymbolImage {
                        anchors.centerIn: parent
                        symbol: "music.note"
                        size: 13
                        color: Qt.rgba(1, 1, 1, 0.8)
                    }
                }
                RoundedImage {
                    anchors.fill: parent
                    radius: 6
                    visible: artwork.hasAlbumArt || artwork.hasAppIcon
                    image: artwork.hasAlbumArt ? view.nowPlaying.albumArt
                                               : artwork.hasAppIcon ? view.nowPlaying.appIcon : undefined
                }
            }

            AudioSpectrumView {
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                width: 20
                height: 14
                // It moves as if playing whenever it can be seen.
                isPlaying: opacity > 0
                appName: view.nowPlaying ? view.nowPlaying.appName : ""
                opacity: view.hovering ? 0 : 1
                Behavior on opacity { MotionSpring {} }
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
