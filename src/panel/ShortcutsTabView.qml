import QtQuick
import Talvo

// The shortcuts tab: "SYSTEM ACTIONS" (lock, sleep, microphone, dark mode,
// empty trash) on the left, "FAVORITE APPS" on the right.
Item {
    id: tab

    readonly property var actions: ShortcutActionsModel
    readonly property var favorites: FavoriteAppsModel

    component SectionLabel: Text {
        leftPadding: 4
        font.pixelSize: 9
        font.bold: true
        font.letterSpacing: 1.0
        color: Qt.rgba(1, 1, 1, 0.4)
    }
    component SectionBox: Rectangle {
        radius: 14
        color: Qt.rgba(1, 1, 1, 0.02)
        border.width: 0.5
        border.color: Qt.rgba(1, 1, 1, 0.08)
        gradient: Gradient {
            orientation: Gradient.Vertical
            GradientStop { position: 0; color: Qt.rgba(1, 1, 1, 0.06) }
            GradientStop { position: 1; color: Qt.rgba(1, 1, 1, 0.02) }
        }
    }

    Row {
        x: 32
        y: 4
        width: tab.width - 64
        height: tab.height - 16
        spacing: 20

        // --- system actions ---
        Column {
            width: 240
            height: parent.height
            spacing: 6
            SectionLabel { id: actionsLabel; text: qsTr("SYSTEM ACTIONS") }
            SectionBox {
                width: parent.width
                height: parent.height - actionsLabel.height - parent.spacing
                // Two columns, three rows; the last button spans the row.
                Item {
                    id: grid
                    objectName: "systemActions"
                    anchors.fill: parent
                    anchors.margins: 6
                    readonly property real spacing: 4
                    readonly property real cellWidth: (width - spacing) / 2
                    readonly property real cellHeight: Math.min(26, (height - 2 * spacing) / 3)
                    Repeater {
                        model: tab.actions ? tab.actions.buttons : []
                        ShortcutActionButton {
                            required property var modelData
                            required property int index
                            objectName: "action-" + modelData.id
                            x: (index % 2) * (grid.cellWidth + grid.spacing)
                            y: Math.floor(index / 2) * (grid.cellHeight + grid.spacing)
                            width: modelData.spansRow ? grid.width : grid.cellWidth
                            height: grid.cellHeight
                            title: modelData.title
                            icon: modelData.symbol
                            isRed: modelData.isRed
                            onTriggered: tab.actions.trigger(modelData.id)
                        }
                    }
                }
            }
        }

        // --- favourite applications ---
        Column {
            width: parent.width - 240 - parent.spacing
            height: parent.height
            spacing: 6
            SectionLabel { id: favoritesLabel; text: qsTr("FAVORITE APPS") }
            SectionBox {
                id: favoritesBox
                objectName: "favoriteApps"
                width: parent.width
                height: parent.height - favoritesLabel.height - parent.spacing
                clip: true

                readonly property var tiles: tab.favorites ? tab.favorites.tiles : []

                DropArea {
                    objectName: "favoritesDropArea"
                    anchors.fill: parent
                    keys: ["text/uri-list"]
                    onDropped: (drop) => {
                        tab.favorites.addDropped(drop.urls)
                        drop.acceptProposedAction()
                    }
                }

                // Nothing yet: one large button.
                Item {
                    anchors.fill: parent
                    visible: favoritesBox.tiles.length === 0
                    Accessible.role: Accessible.Button
                    Accessible.name: emptyText.text
                    Accessible.onPressAction: tab.favorites.showChooser()
                    Column {
                        anchors.centerIn: parent
                        spacing: 6
                        SymbolImage {
                            anchors.horizontalCenter: parent.horizontalCenter
                            symbol: "plus.app.fill"
                            size: 20
                            font.weight: Font.Light
                            color: Qt.rgba(1, 1, 1, 0.2)
                        }
                        Text {
                            id: emptyText
                            anchors.horizontalCenter: parent.horizontalCenter
                            text: qsTr("Drag applications here or click to add")
                            font.pixelSize: 11
                            font.weight: Font.Medium
                            color: Qt.rgba(1, 1, 1, 0.35)
                        }
                    }
                    TapHandler { onTapped: tab.favorites.showChooser() }
                }

                Flickable {
                    anchors.fill: parent
                    visible: favoritesBox.tiles.length > 0
                    contentWidth: tiles.width
                    flickableDirection: Flickable.HorizontalFlick
                    boundsBehavior: Flickable.StopAtBounds
                    Row {
                        id: tiles
                        height: parent.height
                        leftPadding: 12
                        rightPadding: 12
                        spacing: 12
                        Repeater {
                            model: favoritesBox.tiles
                            FavoriteAppTileView {
                                required property var modelData
                                anchors.verticalCenter: parent.verticalCenter
                                path: modelData.path
                                name: modelData.name
                                iconSource: modelData.iconSource
                                onLaunched: tab.favorites.launch(modelData.path)
                                onRemoved: tab.favorites.remove(modelData.path)
                            }
                        }
                        AddFavoriteAppButtonView {
                            objectName: "addFavoriteApp"
                            anchors.verticalCenter: parent.verticalCenter
                            visible: tab.favorites && tab.favorites.showsAddButton
                            onTriggered: tab.favorites.showChooser()
                        }
                    }
                }
            }
        }
    }
}
