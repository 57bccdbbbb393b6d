import QtQuick
import Talvo

// The weather card's animated sky for a condition name: a two-colour gradient
// and, over it, the sun, drifting clouds or clouds with rain. A new condition
// builds a fresh scene that starts from the beginning.
Item {
    id: background

    property string condition
    readonly property alias style: style

    WeatherSceneStyle {
        id: style
        condition: background.condition
    }

    GlassCardItem {
        anchors.fill: parent
        fillTop: style.firstColor
        fillBottom: style.secondColor
    }

    Loader {
        anchors.fill: parent
        sourceComponent: style.scene === WeatherSceneStyle.Sun ? sun
                       : style.scene === WeatherSceneStyle.Rain ? rain : clouds
    }
    Component { id: sun; AnimatedSunView {} }
    Component { id: clouds; AnimatedCloudView {} }
    Component { id: rain; AnimatedRainView {} }
}
