pragma Singleton
import QtQuick

// The hierarchical foreground colours of the panel on its dark body.
QtObject {
    readonly property color primary: "white"
    readonly property color secondary: Qt.rgba(1, 1, 1, 0.55)
    readonly property color tertiary: Qt.rgba(1, 1, 1, 0.28)
}
