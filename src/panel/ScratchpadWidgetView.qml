import QtQuick
import Talvo

// The scratchpad card: one note that stays between runs. While the pointer is
// over the note, vertical scrolling scrolls the note, not the panel's tabs.
Item {
    id: card

    readonly property QtObject note: ScratchpadNote
    readonly property string text: note ? note.text : ""

    // Whatever was typed is stored before the panel goes away; the notch
    // window gives the keyboard back.
    Component.onDestruction: {
        if (note)
            note.flush()
        if (editor.activeFocus && NotchWindowController)
            NotchWindowController.setKeyboardFocusWanted(false)
    }

    function focusEditor() {
        if (NotchWindowController)
            NotchWindowController.setKeyboardFocusWanted(true)
        editor.forceActiveFocus()
        // A click below the text continues it.
        editor.cursorPosition = editor.length
    }

    Column {
        anchors.fill: parent
        spacing: 4

        UtilityCardHeader {
            symbol: "note.text"
            title: qsTr("Quick Scratchpad")
            SmallTextButton {
                objectName: "scratchpadClear"
                visible: card.text !== ""
                text: qsTr("Clear")
                onClicked: card.note.clear()
            }
        }

        Item {
            id: body
            objectName: "scratchpadBody"
            width: parent.width
            height: Math.min(72, parent.height - y)
            readonly property bool hovered: bodyHover.hovered

            Rectangle {
                anchors.fill: parent
                radius: 10
                gradient: Gradient {
                    orientation: Gradient.Vertical
                    GradientStop { position: 0; color: Qt.rgba(1, 1, 1, 0.04) }
                    GradientStop { position: 1; color: Qt.rgba(1, 1, 1, 0.01) }
                }
                border.width: 0.5
                border.color: Qt.rgba(1, 1, 1, body.hovered ? 0.13 : 0.04)
            }
            SymbolImage {
                anchors.right: parent.right
                anchors.rightMargin: 8
                anchors.bottom: parent.bottom
                anchors.bottomMargin: 6
                symbol: "square.and.pencil"
                size: 32
                font.weight: Font.Light
                color: Qt.rgba(1, 1, 1, 0.03)
            }
            Text {
                anchors.fill: parent
                anchors.margins: 8
                visible: card.text === ""
                text: qsTr("Type a quick note, phone number, or link here...")
                wrapMode: Text.WordWrap
                font.pixelSize: 10
                font.weight: Font.Medium
                color: Qt.rgba(1, 1, 1, 0.25)
            }
            Flickable {
                id: flick
                anchors.fill: parent
                anchors.margins: 4
                clip: true
                contentWidth: width
                contentHeight: editor.implicitHeight
                boundsBehavior: Flickable.StopAtBounds
                interactive: false
                TextEdit {
                    id: editor
                    objectName: "scratchpadEditor"
                    width: flick.width
                    padding: 4
                    wrapMode: TextEdit.Wrap
                    selectByMouse: true
                    color: "white"
                    selectionColor: Qt.rgba(0.04, 0.52, 1, 0.5)
                    font.pixelSize: 10
                    font.weight: Font.Medium
                    Accessible.role: Accessible.EditableText
                    Accessible.name: qsTr("Quick Scratchpad")
                    text: card.text
                    onTextChanged: if (card.note && text !== card.note.text) card.note.text = text
                    // The notch window takes no keys unless asked to.
                    onActiveFocusChanged: if (activeFocus && NotchWindowController) NotchWindowController.setKeyboardFocusWanted(true)
                    onCursorRectangleChanged: {
                        if (cursorRectangle.y < flick.contentY)
                            flick.contentY = cursorRectangle.y
                        else if (cursorRectangle.y + cursorRectangle.height > flick.contentY + flick.height)
                            flick.contentY = cursorRectangle.y + cursorRectangle.height - flick.height
                    }
                }
            }
            ScrollableHover { hovered: body.hovered }
            // Wheel scrolling only: a drag selects text.
            WheelHandler {
                orientation: Qt.Vertical
                onWheel: event => {
                    const max = Math.max(0, flick.contentHeight - flick.height)
                    flick.contentY = Math.max(0, Math.min(max, flick.contentY - event.angleDelta.y / 4))
                }
            }

            HoverHandler { id: bodyHover }
            TapHandler { onTapped: card.focusEditor() }
        }
    }
}
