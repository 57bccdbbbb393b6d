import QtQuick

// A titled group of rows or cards.
Column {
    id: section

    property string title
    default property alias content: body.data

    spacing: 10

    Text {
        text: section.title
        color: Qt.rgba(1, 1, 1, 0.55)
        font.pixelSize: 11
        font.bold: true
        font.capitalization: Font.AllUppercase
        Accessible.role: Accessible.Heading
        Accessible.name: text
    }

    Column {
        id: body
        width: section.width
        spacing: 10
    }
}
