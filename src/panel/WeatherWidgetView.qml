import QtQuick
import Qt5Compat.GraphicalEffects
import Talvo

// The weather card: the temperature and the felt temperature, the condition's
// symbol, and chips with the place and the condition. Framed, it sits on the
// animated sky of its condition inside a bordered glass card; frameless, it
// is only the content, still clipped to the card's rounded shape.
Item {
    id: card

    // WeatherManager, or anything with its members; may be null.
    property QtObject weather: null
    property bool frameless: true

    readonly property string temperatureText: qsTr("%1°C").arg(weather ? weather.temperature : "")
    readonly property string feelsLikeText: qsTr("Feels like %1°C").arg(weather ? weather.feelsLike : "")
    readonly property string conditionName: weather ? weather.conditionName : ""
    readonly property string conditionIcon: weather ? weather.conditionIcon : ""
    // The scene on show ("sun", "clouds", "rain"), empty when frameless.
    readonly property string sceneName: sky.item ? sky.item.style.sceneName : ""
    readonly property bool effects: GraphicsInfo.api !== GraphicsInfo.Software

    GlassCardItem {
        // The shadow spills over the card's edges.
        readonly property real spill: card.frameless ? 0 : 18 + 6
        x: -spill
        y: -spill
        width: card.width + 2 * spill
        height: card.height + 2 * spill
        radius: 24
        fillTop: card.frameless ? "transparent" : Qt.rgba(1, 1, 1, 0.07)
        shadowColor: card.frameless ? "transparent" : Qt.rgba(0, 0, 0, 0.15)
        shadowBlur: 18
        shadowOffsetY: 6
    }

    // The animated sky, clipped to the card's rounded shape where the scene
    // graph can mask; otherwise the scene keeps clear of the corners.
    Item {
        id: skyFrame
        anchors.fill: parent
        clip: true
        layer.enabled: card.effects && sky.active
        layer.effect: OpacityMask {
            maskSource: Rectangle {
                width: skyFrame.width
                height: skyFrame.height
                radius: 24
            }
        }
        Loader {
            id: sky
            anchors.fill: parent
            active: !card.frameless
            sourceComponent: WeatherAnimatedBackground {
                condition: card.conditionName
                radius: 24
                sceneInset: card.effects ? 0 : 24 * 0.3
            }
        }
    }

    GlassCardItem {
        anchors.fill: parent
        visible: !card.frameless
        radius: 24
        borderWidth: 0.75
        borderGradient: [Qt.rgba(1, 1, 1, 0.24), Qt.rgba(1, 1, 1, 0.06), Qt.rgba(1, 1, 1, 0.02),
                         Qt.rgba(1, 1, 1, 0.15)]
    }

    // The two lines overlap by 5; the big one's line box starts a little
    // above the padding so that the figures sit on it.
    Item {
        id: content
        x: 16
        y: 10
        width: parent.width - 32
        height: 62

        Text {
            id: temperature
            objectName: "weatherTemperature"
            width: content.width - symbol.width - 4
            height: 46
            text: card.temperatureText
            font.pixelSize: 42
            font.bold: true
            color: "white"
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: 21
            verticalAlignment: Text.AlignVCenter
        }
        Text {
            y: temperature.height - 5 + 4 - 3
            width: temperature.width
            text: card.feelsLikeText
            font.pixelSize: 14
            font.weight: Font.Medium
            color: Qt.rgba(1, 1, 1, 0.8)
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: 7
        }
        SymbolImage {
            id: symbol
            anchors.right: parent.right
            y: 2
            symbol: card.conditionIcon
            size: 42
            font.weight: Font.Light
            color: Qt.rgba(1, 0.8, 0, 1)
        }
    }

    Row {
        id: chips
        x: 16
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 7
        width: parent.width - 32
        spacing: 6

        component Chip: Item {
            id: chip
            property string symbol
            property string text
            property real maxWidth
            implicitWidth: Math.min(maxWidth, chipRow.implicitWidth + 16)
            implicitHeight: chipRow.implicitHeight + 8
            width: implicitWidth
            height: implicitHeight

            Rectangle {
                anchors.fill: parent
                radius: height / 2
                color: Qt.rgba(0, 0, 0, 0.22)
                border.width: 0.75
                border.color: Qt.rgba(1, 1, 1, 0.12)
            }
            Row {
                id: chipRow
                x: 8
                anchors.verticalCenter: parent.verticalCenter
                spacing: 4
                SymbolImage {
                    id: chipSymbol
                    anchors.verticalCenter: parent.verticalCenter
                    symbol: chip.symbol
                    size: 10
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    // Shrinks to 0.6 of its size, then truncates.
                    width: Math.min(implicitWidth, chip.maxWidth - 16 - chipSymbol.width - 4)
                    text: chip.text
                    font.pixelSize: 11
                    font.weight: Font.DemiBold
                    color: "white"
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: 7
                    elide: Text.ElideRight
                }
            }
        }

        Chip {
            objectName: "weatherPlaceChip"
            symbol: "mappin.and.ellipse"
            text: card.weather ? card.weather.locationName : ""
            maxWidth: chips.width - conditionChip.width - chips.spacing
        }
        Chip {
            id: conditionChip
            symbol: card.conditionIcon
            text: card.conditionName
            maxWidth: chips.width / 2
        }
    }

    // What the control bus shows of this card.
    readonly property var report: ({ panelWeatherTemperature: temperatureText, panelWeatherScene: sceneName })
    onReportChanged: if (NotchStatePublisher) NotchStatePublisher.setPanelValues(report)
    Component.onCompleted: {
        if (NotchStatePublisher)
            NotchStatePublisher.setPanelValues(report)
        // A failed or old reading is taken again whenever the card shows.
        if (weather)
            weather.refreshIfStale()
    }
}
