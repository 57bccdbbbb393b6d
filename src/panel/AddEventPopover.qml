import QtQuick
import Talvo

// The add-event form, shown over the panel beside the button that opened it
// and kept inside the notch window. While it shows, the window takes the
// pointer over it and the keyboard: the title field has the focus, Return
// adds the event and Escape cancels.
Item {
    id: popover

    required property AddEventForm form
    // The button the form belongs to.
    required property Item anchor
    property color accent: "#0a84ff"

    readonly property Item windowContent: anchor.Window.window ? anchor.Window.window.contentItem : null
    // Sizes are tighter than a free-floating popup's so that the form fits
    // the notch window's height.
    readonly property real padding: 16

    parent: windowContent ? windowContent : anchor
    z: 1000
    visible: form.isOpen
    width: 264
    height: column.height + 2 * padding
    objectName: "addEventPopover"

    function place() {
        if (!windowContent)
            return
        const button = anchor.mapToItem(windowContent, 0, 0, anchor.width, anchor.height)
        // Trailing edges aligned, just below the button where there is room,
        // else as low as the window allows.
        x = Math.max(0, Math.min(windowContent.width - width, button.x + button.width - width + 12))
        y = Math.max(0, Math.min(windowContent.height - height, button.y + button.height + 6))
    }
    function report() {
        if (NotchWindowController)
            NotchWindowController.popupRect = visible ? Qt.rect(x, y, width, height) : Qt.rect(0, 0, 0, 0)
    }

    onVisibleChanged: {
        if (visible) {
            place()
            title.forceActiveFocus()
        }
        report()
    }
    onXChanged: report()
    onYChanged: report()
    onHeightChanged: if (visible) { place(); report() }
    Component.onDestruction: if (NotchWindowController) NotchWindowController.popupRect = Qt.rect(0, 0, 0, 0)

    // Whatever control has the focus: Escape cancels, Return adds.
    Keys.onEscapePressed: form.cancel()
    Keys.onReturnPressed: form.submit()
    Keys.onEnterPressed: form.submit()

    // Clicks inside the form stay in it.
    MouseArea { anchors.fill: parent; acceptedButtons: Qt.AllButtons; hoverEnabled: true }

    Rectangle {
        anchors.fill: parent
        radius: 14
        // A solid dark base stands in for the platform's popup material.
        color: Qt.rgba(0.09, 0.09, 0.1, 0.96)
        border.width: 0.5
        border.color: Qt.rgba(1, 1, 1, 0.12)
        Rectangle {
            anchors.fill: parent
            radius: parent.radius
            color: Qt.rgba(0, 0, 0, 0.55)
        }
        GlassCardItem {
            anchors.fill: parent
            radius: parent.radius
            fillTop: Qt.rgba(1, 1, 1, 0.05)
            fillBottom: "transparent"
        }
    }

    component RowBox: Rectangle {
        radius: 9
        color: Qt.rgba(1, 1, 1, 0.05)
        border.width: 0.5
        border.color: Qt.rgba(1, 1, 1, 0.08)
    }
    component FormRow: Item {
        id: formRow
        property string symbol
        property string label
        default property alias control: controlSlot.data
        width: column.width
        height: 34
        RowBox { anchors.fill: parent }
        SymbolImage {
            x: 12
            width: 16
            anchors.verticalCenter: parent.verticalCenter
            symbol: formRow.symbol
            size: 11
            font.weight: Font.DemiBold
            color: Qt.rgba(1, 1, 1, 0.55)
        }
        Text {
            x: 36
            anchors.verticalCenter: parent.verticalCenter
            text: formRow.label
            font.pixelSize: 12
            font.weight: Font.Medium
            color: Qt.rgba(1, 1, 1, 0.85)
        }
        Item {
            id: controlSlot
            anchors.right: parent.right
            anchors.rightMargin: 12
            anchors.verticalCenter: parent.verticalCenter
            width: childrenRect.width
            height: childrenRect.height
        }
    }
    component RoundChevron: Item {
        id: chevron
        property string symbol
        signal clicked()
        width: 20
        height: 20
        Accessible.role: Accessible.Button
        Accessible.onPressAction: clicked()
        Rectangle { anchors.fill: parent; radius: 10; color: Qt.rgba(1, 1, 1, 0.08) }
        SymbolImage {
            anchors.centerIn: parent
            symbol: chevron.symbol
            size: 10
            font.bold: true
            color: Qt.rgba(1, 1, 1, 0.8)
        }
        TapHandler { onTapped: chevron.clicked() }
    }
    // One part of the time: the wheel, a click or the arrow keys move it.
    component ClockPart: Rectangle {
        id: part
        property int value
        property int step: 1
        signal stepped(int delta)
        width: 26
        height: 20
        radius: 5
        color: activeFocus ? Qt.rgba(popover.accent.r, popover.accent.g, popover.accent.b, 0.3) : Qt.rgba(1, 1, 1, 0.08)
        activeFocusOnTab: true
        Accessible.role: Accessible.SpinBox
        Keys.onUpPressed: stepped(step)
        Keys.onDownPressed: stepped(-step)
        Text {
            anchors.centerIn: parent
            text: (part.value < 10 ? "0" : "") + part.value
            font.pixelSize: 12
            font.weight: Font.DemiBold
            color: "white"
        }
        TapHandler { onTapped: { part.forceActiveFocus(); part.stepped(part.step) } }
        WheelHandler {
            onWheel: event => part.stepped(event.angleDelta.y > 0 ? part.step : -part.step)
        }
    }

    Column {
        id: column
        x: popover.padding
        y: popover.padding
        width: popover.width - 2 * popover.padding
        spacing: 12

        Row {
            spacing: 10
            Rectangle {
                width: 32
                height: 32
                radius: 9
                color: Qt.rgba(popover.accent.r, popover.accent.g, popover.accent.b, 0.18)
                SymbolImage {
                    anchors.centerIn: parent
                    symbol: "calendar.badge.plus"
                    size: 15
                    font.weight: Font.DemiBold
                    color: popover.accent
                }
            }
            Column {
                anchors.verticalCenter: parent.verticalCenter
                Text {
                    text: qsTr("New Event")
                    font.pixelSize: 14
                    font.bold: true
                    color: "white"
                }
                Text {
                    text: qsTr("Add to your calendar")
                    font.pixelSize: 10
                    color: Qt.rgba(1, 1, 1, 0.45)
                }
            }
        }

        RowBox {
            width: column.width
            height: title.implicitHeight + 18
            color: Qt.rgba(1, 1, 1, 0.06)
            border.color: Qt.rgba(1, 1, 1, 0.1)
            TextInput {
                id: title
                objectName: "eventTitleField"
                x: 12
                width: parent.width - 24
                anchors.verticalCenter: parent.verticalCenter
                text: popover.form.title
                onTextEdited: popover.form.title = text
                font.pixelSize: 13
                font.weight: Font.Medium
                color: "white"
                selectionColor: popover.accent
                clip: true
                Accessible.role: Accessible.EditableText
                Accessible.name: qsTr("Event title")
                Keys.onReturnPressed: popover.form.submit()
                Keys.onEnterPressed: popover.form.submit()
                Keys.onEscapePressed: popover.form.cancel()
                Text {
                    anchors.fill: parent
                    visible: !title.text
                    text: qsTr("Event title")
                    font: title.font
                    color: Qt.rgba(1, 1, 1, 0.3)
                }
            }
        }

        Column {
            spacing: 8
            FormRow {
                symbol: "calendar"
                label: qsTr("Day")
                Row {
                    spacing: 6
                    RoundChevron {
                        anchors.verticalCenter: parent.verticalCenter
                        symbol: "chevron.left"
                        Accessible.name: qsTr("Previous day")
                        onClicked: popover.form.stepDay(-1)
                    }
                    Text {
                        objectName: "eventDayText"
                        anchors.verticalCenter: parent.verticalCenter
                        width: Math.max(78, implicitWidth)
                        horizontalAlignment: Text.AlignHCenter
                        text: popover.form.dayText
                        font.pixelSize: 12
                        font.weight: Font.DemiBold
                        color: "white"
                    }
                    RoundChevron {
                        anchors.verticalCenter: parent.verticalCenter
                        symbol: "chevron.right"
                        Accessible.name: qsTr("Next day")
                        onClicked: popover.form.stepDay(1)
                    }
                }
            }
            FormRow {
                symbol: "clock"
                label: qsTr("Time")
                Row {
                    spacing: 3
                    ClockPart {
                        value: popover.form.hour
                        Accessible.name: qsTr("Hour")
                        onStepped: delta => popover.form.stepHour(delta)
                    }
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: ":"
                        font.pixelSize: 12
                        font.weight: Font.DemiBold
                        color: "white"
                    }
                    ClockPart {
                        value: popover.form.minute
                        step: 5
                        Accessible.name: qsTr("Minute")
                        onStepped: delta => popover.form.stepMinute(delta)
                    }
                }
            }
        }

        Row {
            spacing: 10
            topPadding: 2
            component FormButton: Item {
                id: formButton
                property string text
                property bool bold
                property color textColor: "white"
                readonly property bool hovered: buttonHover.hovered
                signal clicked()
                width: (column.width - 10) / 2
                height: label.implicitHeight + 16
                Accessible.role: Accessible.Button
                Accessible.name: text
                Accessible.onPressAction: clicked()
                Rectangle {
                    id: buttonFace
                    anchors.fill: parent
                    radius: 9
                }
                Text {
                    id: label
                    anchors.centerIn: parent
                    text: formButton.text
                    font.pixelSize: 12
                    font.weight: formButton.bold ? Font.Bold : Font.DemiBold
                    color: formButton.textColor
                }
                HoverHandler { id: buttonHover }
                TapHandler { onTapped: formButton.clicked() }
                property alias face: buttonFace
            }
            FormButton {
                text: qsTr("Cancel")
                textColor: Qt.rgba(1, 1, 1, 0.85)
                face.color: Qt.rgba(1, 1, 1, hovered ? 0.12 : 0.06)
                face.border.width: 0.5
                face.border.color: Qt.rgba(1, 1, 1, 0.1)
                onClicked: popover.form.cancel()
            }
            FormButton {
                objectName: "addEventConfirm"
                text: qsTr("Add Event")
                bold: true
                textColor: popover.form.canSubmit ? "white" : Qt.rgba(1, 1, 1, 0.4)
                face.color: popover.form.canSubmit ? Qt.rgba(popover.accent.r, popover.accent.g, popover.accent.b,
                                                              hovered ? 1 : 0.85)
                                                   : Qt.rgba(popover.accent.r, popover.accent.g, popover.accent.b, 0.3)
                onClicked: popover.form.submit()
            }
        }
    }
}
