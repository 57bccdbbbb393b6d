import QtQuick
import Talvo

// The weather card's animated sky for a condition name: a two-colour gradient
// and, over it, the sun, drifting clouds or clouds with rain. A new condition
// builds a fresh scene that starts from the beginning.
Item {
    id: background

    property string condition
    // The gradient's corner radius; the scene keeps `sceneInset` inside the
    // edges (a rectangle inset by 0.3 of the radius stays inside the rounded
    // shape), for renderers that clip to rectangles only.
    property real radius: 0
    property real sceneInset: 0
    readonly property alias style: style

    WeatherSceneStyle {
        id: style
        condition: background.condition
    }

    GlassCardItem {
        anchors.fill: parent
        radius: background.radius
        fillTop: style.firstColor
        fillBottom: style.secondColor
    }

    Item {
        anchors.fill: parent
        anchors.margins: background.sceneInset
        clip: background.sceneInset > 0
        Loader {
            x: -background.sceneInset
            y: -background.sceneInset
            width: background.width
            height: background.height
            sourceComponent: style.scene === WeatherSceneStyle.Sun ? sun
                           : style.scene === WeatherSceneStyle.Rain ? rain : clouds
        }
    }
    Component { id: sun; AnimatedSunView {} }
    Component { id: clouds; AnimatedCloudView {} }
    Component { id: rain; AnimatedRainView {} }
}
