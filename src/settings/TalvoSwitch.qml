import QtQuick

// An on/off switch. It shows `checked` and only asks for a change through
// toggled(), so the owner's state (a preference, the login item) decides.
Rectangle {
    id: control

    property bool checked: false
    property string accessibleName

    signal toggled(bool checked)

    function flip() { control.toggled(!control.checked) }

    width: 38
    height: 22
    radius: height / 2
    color: checked ? "#30d158" : Qt.rgba(1, 1, 1, 0.18)
    border.width: activeFocus ? 2 : 0
    border.color: "#0a84ff"
    activeFocusOnTab: true
    Behavior on color { ColorAnimation { duration: 150 } }

    Accessible.role: Accessible.CheckBox
    Accessible.name: accessibleName
    Accessible.checkable: true
    Accessible.checked: checked
    Accessible.onPressAction: flip()
    Accessible.onToggleAction: flip()

    Keys.onSpacePressed: flip()
    Keys.onReturnPressed: flip()
    Keys.onEnterPressed: flip()

    Rectangle {
        width: parent.height - 4
        height: width
        radius: width / 2
        y: 2
        x: control.checked ? parent.width - width - 2 : 2
        color: "white"
        Behavior on x { NumberAnimation { duration: 150; easing.type: Easing.OutQuad } }
    }

    TapHandler { onTapped: control.flip() }
}
