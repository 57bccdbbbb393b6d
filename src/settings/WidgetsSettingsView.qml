import QtQuick
import Talvo

// Choice and order of the home tab's widgets. Everything shown comes from the
// stored order (WidgetOrdering.activeWidgets); the page keeps no copy.
Column {
    id: widgets
    spacing: 24

    Text {
        text: qsTr("Widgets")
        color: "white"
        font.pixelSize: 22
        font.bold: true
        Accessible.role: Accessible.Heading
        Accessible.name: text
    }

    TalvoSettingsSection {
        width: parent.width
        title: qsTr("Layout Preview & Ordering")

        Item {
            width: parent.width
            height: help.implicitHeight
            Text {
                id: help
                width: parent.width - reset.width - 12
                text: qsTr("Drag and drop layout slots or use chevrons to rearrange their order in the notch.")
                color: Qt.rgba(1, 1, 1, 0.55)
                font.pixelSize: 11
                wrapMode: Text.WordWrap
            }
            Text {
                id: reset
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                text: qsTr("Reset to Defaults")
                color: resetHover.hovered ? "#409cff" : "#0a84ff"
                font.pixelSize: 11
                font.bold: true
                font.underline: activeFocus
                activeFocusOnTab: true
                Accessible.role: Accessible.Button
                Accessible.name: text
                Accessible.onPressAction: WidgetOrdering.resetToDefaults()
                Keys.onSpacePressed: WidgetOrdering.resetToDefaults()
                Keys.onReturnPressed: WidgetOrdering.resetToDefaults()
                Keys.onEnterPressed: WidgetOrdering.resetToDefaults()
                HoverHandler { id: resetHover }
                TapHandler { onTapped: WidgetOrdering.resetToDefaults() }
            }
        }

        // The simulated notch: one slot per active widget, in order.
        Rectangle {
            id: strip
            width: parent.width
            height: 64
            radius: 18
            color: "black"
            border.width: 1
            border.color: Qt.rgba(1, 1, 1, 0.1)
            Accessible.role: Accessible.List
            Accessible.name: qsTr("Simulated Notch View")

            // The slot being dragged and the slot it last entered.
            property string draggedId
            property string enteredId

            Text {
                anchors.centerIn: parent
                visible: slots.count === 0
                text: qsTr("No active widgets")
                color: Qt.rgba(1, 1, 1, 0.5)
                font.pixelSize: 12
            }

            // Pressing a slot and moving drags it; every slot it enters takes
            // its place at once, the release only ends the drag. Lies under
            // the slots so that their chevrons keep their own clicks.
            MouseArea {
                id: dragArea
                anchors.fill: parent
                preventStealing: true
                cursorShape: strip.draggedId ? Qt.ClosedHandCursor : Qt.ArrowCursor
                property point pressPoint
                property string pressedId

                function slotIdAt(x, y) {
                    const item = slotRow.childAt(x - slotRow.x, y - slotRow.y)
                    return item && item.widgetId !== undefined ? item.widgetId : ""
                }
                onPressed: mouse => {
                    pressPoint = Qt.point(mouse.x, mouse.y)
                    pressedId = slotIdAt(mouse.x, mouse.y)
                }
                onPositionChanged: mouse => {
                    if (!pressedId)
                        return
                    if (!strip.draggedId) {
                        if (Math.abs(mouse.x - pressPoint.x) < 6 && Math.abs(mouse.y - pressPoint.y) < 6)
                            return
                        strip.draggedId = pressedId
                        strip.enteredId = pressedId
                    }
                    ghost.x = mouse.x - ghost.width / 2
                    const over = slotIdAt(mouse.x, mouse.y)
                    if (over && over !== strip.enteredId) {
                        strip.enteredId = over
                        WidgetOrdering.dropEntered(over, strip.draggedId)
                    }
                }
                onReleased: finish()
                onCanceled: finish()
                function finish() {
                    pressedId = ""
                    strip.draggedId = ""
                    strip.enteredId = ""
                }
            }

            Row {
                id: slotRow
                anchors.centerIn: parent
                spacing: 8
                Repeater {
                    id: slots
                    model: WidgetOrdering.activeWidgets
                    WidgetOrderSlot {
                        required property int index
                        required property string modelData
                        widgetId: modelData
                        isFirst: index === 0
                        isLast: index === slots.count - 1
                        isDragged: strip.draggedId === modelData
                        onMoveLeft: WidgetOrdering.moveLeft(index)
                        onMoveRight: WidgetOrdering.moveRight(index)
                    }
                }
            }

            // What follows the pointer while a slot is dragged.
            Rectangle {
                id: ghost
                visible: strip.draggedId !== ""
                y: (strip.height - height) / 2
                width: ghostLabel.implicitWidth + 20
                height: 28
                radius: 8
                color: Qt.rgba(0.04, 0.52, 1, 0.35)
                border.color: "#0a84ff"
                Text {
                    id: ghostLabel
                    anchors.centerIn: parent
                    text: strip.draggedId ? WidgetOrdering.slotLabel(strip.draggedId).name : ""
                    color: "white"
                    font.pixelSize: 9
                    font.bold: true
                }
            }
        }
    }

    TalvoSettingsSection {
        width: parent.width
        title: qsTr("Select Widgets (Max 3)")

        Text {
            text: qsTr("Keep between 2 and 3 active widgets in your notch panel.")
            color: Qt.rgba(1, 1, 1, 0.55)
            font.pixelSize: 11
        }

        Grid {
            columns: 2
            spacing: 10
            Repeater {
                model: WidgetOrdering.catalog
                WidgetSettingsCard {
                    required property var modelData
                    width: (widgets.width - 10) / 2
                    title: modelData.title
                    subtitle: modelData.subtitle
                    icon: modelData.symbol
                    isSelected: WidgetOrdering.activeWidgets.indexOf(modelData.id) >= 0
                    onClicked: WidgetOrdering.toggleWidget(modelData.id)
                }
            }
        }
    }
}
