import QtQuick
import Talvo

// The colour picker card: sample any pixel of the screen, see the code just
// copied, and copy one of the last five colours (or the palette) again.
Item {
    id: card

    readonly property QtObject picker: ColorPickerModel
    readonly property string justCopied: picker ? picker.justCopiedColor : ""
    readonly property color green: "#32d74b"
    readonly property color blue: "#0a84ff"
    property string hoveredColorHex

    Column {
        anchors.fill: parent
        spacing: 4

        UtilityCardHeader {
            symbol: "eyedropper"
            title: qsTr("Color Picker")
            SmallTextButton {
                objectName: "colorReset"
                visible: card.picker ? card.picker.showsReset : false
                text: qsTr("Reset")
                onClicked: card.picker.reset()
            }
        }

        Row {
            spacing: 12

            Item {
                id: sampleButton
                objectName: "pickColorButton"
                readonly property bool hovered: sampleHover.hovered
                width: sampleRow.implicitWidth + 18
                height: sampleRow.implicitHeight + 10
                scale: hovered ? 1.03 : 1
                Behavior on scale { MotionSpring { motion: Springs.motion(0.2, 0.7) } }
                Accessible.role: Accessible.Button
                Accessible.name: qsTr("Pick a Color")
                Accessible.onPressAction: card.picker.sample()

                Rectangle {
                    anchors.fill: parent
                    radius: 8
                    color: sampleButton.hovered ? Qt.rgba(0.1, 0.2, 0.32, 0.9) : Qt.rgba(1, 1, 1, 0.06)
                    border.width: 0.5
                    border.color: sampleButton.hovered ? Qt.rgba(0.04, 0.52, 1, 0.4) : Qt.rgba(1, 1, 1, 0.08)
                }
                Row {
                    id: sampleRow
                    anchors.centerIn: parent
                    spacing: 4
                    SymbolImage {
                        anchors.verticalCenter: parent.verticalCenter
                        symbol: "eyedropper.halffilled"
                        size: 9
                    }
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        text: qsTr("Pick a Color")
                        font.pixelSize: 9
                        font.bold: true
                        color: "white"
                    }
                }
                HoverHandler { id: sampleHover }
                TapHandler { onTapped: if (card.picker) card.picker.sample() }
            }

            Item {
                anchors.verticalCenter: parent.verticalCenter
                width: Math.max(copiedCapsule.width, hint.implicitWidth)
                height: copiedCapsule.height

                Rectangle {
                    id: copiedCapsule
                    objectName: "copiedColorStatus"
                    readonly property bool shown: card.justCopied !== ""
                    width: copiedRow.implicitWidth + 12
                    height: copiedRow.implicitHeight + 6
                    radius: height / 2
                    color: Qt.rgba(0.2, 0.84, 0.29, 0.12)
                    border.width: 0.5
                    border.color: Qt.rgba(0.2, 0.84, 0.29, 0.24)
                    opacity: shown ? 1 : 0
                    scale: shown ? 1 : 0.9
                    visible: opacity > 0
                    Behavior on opacity { MotionSpring { motion: Springs.motion(0.25, 0.75); epsilon: 0.01 } }
                    Behavior on scale { MotionSpring { motion: Springs.motion(0.25, 0.75); epsilon: 0.01 } }
                    Row {
                        id: copiedRow
                        anchors.centerIn: parent
                        spacing: 4
                        SymbolImage {
                            anchors.verticalCenter: parent.verticalCenter
                            symbol: "checkmark"
                            size: 7
                            font.bold: true
                            color: card.green
                        }
                        Text {
                            id: copiedText
                            anchors.verticalCenter: parent.verticalCenter
                            // Keeps the last code while the capsule fades out.
                            property string code
                            text: qsTr("Copied %1").arg(code)
                            font.pixelSize: 8
                            font.weight: Font.DemiBold
                            color: card.green
                            Connections {
                                target: card
                                function onJustCopiedChanged() { if (card.justCopied !== "") copiedText.code = card.justCopied }
                            }
                        }
                    }
                }
                Text {
                    id: hint
                    anchors.verticalCenter: parent.verticalCenter
                    opacity: copiedCapsule.shown ? 0 : 1
                    visible: opacity > 0
                    Behavior on opacity { MotionSpring { motion: Springs.motion(0.25, 0.75); epsilon: 0.01 } }
                    text: qsTr("Click to sample screen")
                    font.pixelSize: 8
                    color: Qt.rgba(1, 1, 1, 0.4)
                }
            }
        }

        Column {
            spacing: 4
            Text {
                objectName: "colorListLabel"
                text: card.picker ? card.picker.listLabel : ""
                font.pixelSize: 7
                font.bold: true
                font.letterSpacing: 0.5
                color: Qt.rgba(1, 1, 1, 0.35)
            }
            Rectangle {
                width: swatchRow.implicitWidth + 14
                height: 26
                radius: 8
                color: Qt.rgba(1, 1, 1, 0.03)
                border.width: 0.5
                border.color: Qt.rgba(1, 1, 1, 0.06)
                Row {
                    id: swatchRow
                    x: 7
                    anchors.verticalCenter: parent.verticalCenter
                    spacing: 8
                    Repeater {
                        model: card.picker ? card.picker.swatches : []
                        delegate: Item {
                            id: swatch
                            required property string modelData
                            readonly property bool hovered: swatchHover.hovered
                            width: 16
                            height: 16
                            scale: card.justCopied === modelData ? 1.22 : hovered ? 1.12 : 1
                            Behavior on scale { MotionSpring { motion: Springs.motion(0.2, 0.7) } }
                            Accessible.role: Accessible.Button
                            Accessible.name: qsTr("Copy %1").arg(modelData)
                            Accessible.onPressAction: card.picker.copy(modelData)
                            onHoveredChanged: card.hoveredColorHex = hovered ? modelData : (card.hoveredColorHex === modelData ? "" : card.hoveredColorHex)

                            // The shadow of black at 0.3.
                            Rectangle {
                                anchors.fill: parent
                                anchors.topMargin: 1
                                anchors.bottomMargin: -1
                                radius: width / 2
                                color: Qt.rgba(0, 0, 0, 0.3)
                            }
                            Rectangle {
                                anchors.fill: parent
                                radius: width / 2
                                color: ColorPickerModel.parseHex(swatch.modelData)
                                border.width: 0.75
                                border.color: Qt.rgba(1, 1, 1, card.hoveredColorHex === swatch.modelData ? 0.5 : 0.25)
                            }
                            HoverHandler { id: swatchHover }
                            TapHandler { onTapped: card.picker.copy(swatch.modelData) }
                        }
                    }
                }
            }
        }
    }
}
