import QtQuick
import Talvo

// The music card: what plays (artwork, player badge, title, artist, player and
// the transport buttons), or, with nothing to show, the clock and buttons that
// open a music player. Its background is the artwork, blurred, framed to the
// card or spilling over its neighbours when the cards are frameless.
Item {
    id: card

    // NowPlayingManager, or anything with its members; may be null.
    property QtObject nowPlaying: null
    property int index: 0
    property int count: 1
    property bool frameless: true

    readonly property alias model: music
    readonly property bool hasAlbumArt: nowPlaying !== null && nowPlaying.hasAlbumArt
    readonly property bool hasAppIcon: nowPlaying !== null && nowPlaying.hasAppIcon

    MusicCardModel {
        id: music
        isPlaying: card.nowPlaying ? card.nowPlaying.isPlaying : false
        songTitle: card.nowPlaying ? card.nowPlaying.songTitle : ""
        artistName: card.nowPlaying ? card.nowPlaying.artistName : ""
        appName: card.nowPlaying ? card.nowPlaying.appName : ""
        hasAlbumArt: card.hasAlbumArt
        index: card.index
        count: card.count
        frameless: card.frameless
        cardWidth: card.width
    }

    // --- background ---
    Rectangle {
        anchors.fill: parent
        radius: 24
        color: Qt.rgba(1, 1, 1, 0.07)
        visible: music.background === MusicCardModel.Plain
    }
    Item {
        id: artworkFrame
        x: music.artworkRect.x
        y: music.artworkRect.y
        width: music.artworkRect.width
        height: music.artworkRect.height
        visible: card.hasAlbumArt
        opacity: music.artworkOpacity

        RoundedImage {
            anchors.fill: parent
            aspectFill: true
            radius: music.background === MusicCardModel.FramedArtwork ? 24 : 0
            image: card.hasAlbumArt ? card.nowPlaying.albumArt : undefined
            blurRadius: music.artworkBlur
            // Fades the artwork out towards its neighbours and the edges.
            horizontalMask: music.artworkMask
            verticalFade: music.artworkMask.length > 0
        }
    }

    // --- content ---
    Item {
        anchors.fill: parent
        anchors.margins: 16

        Row {
            id: playing
            objectName: "musicNowPlaying"
            anchors.verticalCenter: parent.verticalCenter
            width: parent.width
            spacing: 14
            opacity: music.showsNowPlaying ? 1 : 0
            visible: opacity > 0
            Behavior on opacity { NumberAnimation { duration: 200; easing.type: Easing.InOutQuad } }

            Item {
                width: 72
                height: 72
                anchors.verticalCenter: parent.verticalCenter

                Rectangle {
                    anchors.fill: parent
                    radius: 10
                    color: Qt.rgba(1, 1, 1, 0.08)
                    visible: !card.hasAlbumArt
                    SymbolImage {
                        anchors.centerIn: parent
                        symbol: "music.note"
                        size: 24
                        font.weight: Font.Light
                        color: PanelColors.tertiary
                    }
                }
                RoundedImage {
                    anchors.fill: parent
                    radius: 10
                    aspectFill: true
                    visible: card.hasAlbumArt
                    image: card.hasAlbumArt ? card.nowPlaying.albumArt : undefined
                }
                RoundedImage {
                    x: -4
                    y: parent.height - height + 4
                    width: 14
                    height: 14
                    radius: 3
                    visible: card.hasAppIcon
                    image: card.hasAppIcon ? card.nowPlaying.appIcon : undefined
                }
            }

            Column {
                anchors.verticalCenter: parent.verticalCenter
                width: parent.width - 72 - parent.spacing
                spacing: 3

                Text {
                    objectName: "musicTitle"
                    width: parent.width
                    text: music.titleText
                    elide: Text.ElideRight
                    font.pixelSize: 16
                    font.weight: Font.DemiBold
                    color: "white"
                }
                Text {
                    width: parent.width
                    text: music.artistText
                    elide: Text.ElideRight
                    font.pixelSize: 13
                    color: Qt.rgba(1, 1, 1, 0.75)
                }
                Text {
                    width: parent.width
                    text: music.playerText
                    elide: Text.ElideRight
                    font.pixelSize: 11
                    color: PanelColors.secondary
                }
                Item { width: 1; height: 4 }
                Row {
                    spacing: 14

                    component Transport: PanelButton {
                        property string command
                        onClicked: if (card.nowPlaying) card.nowPlaying.sendCommand(command)
                    }

                    Transport {
                        anchors.verticalCenter: parent.verticalCenter
                        symbol: "backward.end.fill"
                        symbolSize: 12
                        color: PanelColors.secondary
                        command: "previous track"
                        Accessible.name: qsTr("Previous track")
                    }
                    Transport {
                        objectName: "playPauseButton"
                        anchors.verticalCenter: parent.verticalCenter
                        symbol: music.playPauseSymbol
                        symbolSize: 14
                        command: "playpause"
                        Accessible.name: music.isPlaying ? qsTr("Pause") : qsTr("Play")
                    }
                    Transport {
                        anchors.verticalCenter: parent.verticalCenter
                        symbol: "forward.end.fill"
                        symbolSize: 12
                        color: PanelColors.secondary
                        command: "next track"
                        Accessible.name: qsTr("Next track")
                    }
                }
            }
        }

        Column {
            id: empty
            objectName: "musicEmptyState"
            anchors.centerIn: parent
            spacing: 12
            opacity: music.showsNowPlaying ? 0 : 1
            visible: opacity > 0
            Behavior on opacity { NumberAnimation { duration: 200; easing.type: Easing.InOutQuad } }
            onVisibleChanged: if (visible && MusicAppLauncher) MusicAppLauncher.refresh()

            Column {
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: 2
                Text {
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: music.clockText(NotchViewModel.currentTime)
                    font.pixelSize: 26
                    font.bold: true
                    color: "white"
                }
                Text {
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: qsTr("Didn't find music, want to play?")
                    font.pixelSize: 11
                    font.weight: Font.Medium
                    color: PanelColors.secondary
                    opacity: 0.8
                }
            }
            Row {
                anchors.horizontalCenter: parent.horizontalCenter
                topPadding: 4
                spacing: 14
                Repeater {
                    model: MusicAppLauncher ? MusicAppLauncher.buttons : []
                    delegate: MusicLaunchButton {
                        required property var modelData
                        button: modelData
                        onClicked: MusicAppLauncher.launch(modelData.id)
                    }
                }
            }
        }
    }
}
