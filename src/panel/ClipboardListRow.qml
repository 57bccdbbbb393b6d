import QtQuick
import Talvo

// One entry of the clipboard history: its kind tile, title and kind label;
// a click copies it back and shows "Copied!" for a second.
Item {
    id: row

    // The history's roles: id, type, text, image, hasImage.
    required property var model
    readonly property string itemId: model.id
    readonly property string type: model.type
    readonly property string text: model.text
    readonly property bool hasImage: model.hasImage

    readonly property bool hovered: hover.hovered
    readonly property bool justCopied: ClipboardCardModel ? ClipboardCardModel.justCopiedIds.indexOf(itemId) >= 0 : false
    readonly property color green: "#32d74b"

    width: ListView.view ? ListView.view.width : 0
    height: 25
    scale: justCopied ? 1.015 : 1
    Behavior on scale { MotionSpring { motion: Springs.motion(0.25, 0.7) } }

    Accessible.role: Accessible.Button
    Accessible.name: qsTr("Copy %1").arg(title.text)
    Accessible.onPressAction: copy()

    function copy() {
        if (ClipboardCardModel)
            ClipboardCardModel.copyBack(itemId)
    }

    Rectangle {
        anchors.fill: parent
        radius: 6
        color: Qt.rgba(1, 1, 1, row.hovered ? 0.06 : 0.02)
        border.width: 0.5
        border.color: row.hovered ? Qt.rgba(1, 1, 1, 0.08) : "transparent"
    }

    Row {
        x: 6
        anchors.verticalCenter: parent.verticalCenter
        spacing: 8

        // The kind tile.
        Rectangle {
            anchors.verticalCenter: parent.verticalCenter
            width: 16
            height: 16
            radius: 4
            scale: row.justCopied ? 1.08 : 1
            Behavior on scale { MotionSpring { motion: Springs.motion(0.2, 0.6) } }
            readonly property bool swatch: !row.justCopied && row.type === "color" && row.text !== ""
            readonly property bool picture: !row.justCopied && row.type === "image" && row.hasImage
            color: row.justCopied ? Qt.rgba(0.2, 0.84, 0.29, 0.15)
                 : swatch ? ColorPickerModel.parseHex(row.text)
                 : (row.type === "text" || row.type === "link") ? Qt.rgba(1, 1, 1, 0.08)
                 : "transparent"
            border.width: swatch || picture ? 0.5 : 0
            border.color: Qt.rgba(1, 1, 1, swatch ? 0.3 : 0.15)
            clip: true

            RoundedImage {
                anchors.fill: parent
                visible: parent.picture
                aspectFill: true
                radius: 4
                image: parent.picture ? row.model.image : undefined
            }
            SymbolImage {
                anchors.centerIn: parent
                visible: !parent.swatch && !parent.picture
                symbol: row.justCopied ? "checkmark"
                      : row.type === "color" ? "paintpalette.fill"
                      : row.type === "image" ? "photo"
                      : row.type === "link" ? "link" : "doc.text.fill"
                size: row.justCopied || row.type === "text" ? 7 : 8
                color: row.justCopied ? row.green : Qt.rgba(1, 1, 1, 0.7)
            }
        }

        Column {
            anchors.verticalCenter: parent.verticalCenter
            Text {
                id: title
                width: row.width - 6 - 16 - 8 - 6 - trailing.width - 8
                elide: Text.ElideRight
                maximumLineCount: 1
                text: ClipboardCardModel ? ClipboardCardModel.title(row.type, row.text) : row.text
                font.pixelSize: 10
                font.weight: Font.Medium
                color: row.justCopied ? row.green : row.hovered ? "white" : Qt.rgba(1, 1, 1, 0.85)
            }
            Text {
                text: ClipboardCardModel ? ClipboardCardModel.kindLabel(row.type) : ""
                font.pixelSize: 7
                font.weight: Font.DemiBold
                color: Qt.rgba(1, 1, 1, row.hovered ? 0.5 : 0.3)
            }
        }
    }

    // The trailing indicator.
    Item {
        id: trailing
        anchors.right: parent.right
        anchors.rightMargin: 6
        anchors.verticalCenter: parent.verticalCenter
        width: row.justCopied ? copiedLabel.implicitWidth : row.hovered ? copySymbol.implicitWidth : 0
        height: 12
        Text {
            id: copiedLabel
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            visible: row.justCopied
            text: qsTr("Copied!")
            font.pixelSize: 8
            font.bold: true
            color: Qt.rgba(0.2, 0.84, 0.29, 0.9)
        }
        SymbolImage {
            id: copySymbol
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            visible: !row.justCopied && row.hovered
            symbol: "doc.on.doc.fill"
            size: 8
            color: Qt.rgba(1, 1, 1, 0.4)
        }
    }

    HoverHandler { id: hover }
    TapHandler { onTapped: row.copy() }
}
