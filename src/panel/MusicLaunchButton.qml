import QtQuick
import Talvo

// One of the music card's launch buttons: the application's icon (or the
// fallback symbol when it is not installed) on a rounded tile that takes the
// brand colour and grows a little under the pointer.
Item {
    id: launch

    // An entry of MusicAppLauncher.buttons.
    property var button
    readonly property bool hovered: hover.hovered
    readonly property color brand: button ? button.brandColor : "white"

    signal clicked()

    width: 38
    height: 38
    scale: hovered ? 1.08 : 1.0
    Behavior on scale { MotionSpring { motion: Springs.motion(0.2, 0.6) } }

    Accessible.role: Accessible.Button
    Accessible.name: button ? button.accessibleName : ""
    Accessible.onPressAction: launch.clicked()

    // The glow: the brand colour at 0.3 around the tile (the software
    // renderer has no blur; a wider translucent tile stands in).
    Rectangle {
        anchors.fill: parent
        anchors.margins: -3
        radius: 14
        color: Qt.rgba(launch.brand.r, launch.brand.g, launch.brand.b, 0.12)
        visible: launch.hovered
    }
    Rectangle {
        anchors.fill: parent
        radius: 11
        color: launch.hovered ? Qt.rgba(launch.brand.r, launch.brand.g, launch.brand.b, 0.15)
                              : Qt.rgba(1, 1, 1, 0.06)
        border.width: 1
        border.color: launch.hovered ? Qt.rgba(launch.brand.r, launch.brand.g, launch.brand.b, 0.4)
                                     : Qt.rgba(1, 1, 1, 0.08)
    }
    Image {
        anchors.centerIn: parent
        width: 22
        height: 22
        sourceSize: Qt.size(44, 44)
        source: launch.button && launch.button.iconSource ? launch.button.iconSource : ""
        visible: source != "" && status === Image.Ready
    }
    SymbolImage {
        anchors.centerIn: parent
        visible: !launch.button || !launch.button.iconSource
        symbol: launch.button ? launch.button.fallbackSymbol : "music.note"
        size: 13
        font.weight: Font.Medium
    }

    HoverHandler { id: hover }
    TapHandler { onTapped: launch.clicked() }
}
