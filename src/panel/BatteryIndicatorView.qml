import QtQuick
import Talvo

// The battery's charge as a percentage and a symbol; absent without a battery.
Row {
    id: indicator

    readonly property QtObject status: BatteryStatus

    spacing: 4
    visible: status !== null && status.shown
    Accessible.role: Accessible.StaticText
    Accessible.name: status ? qsTr("Battery %1").arg(status.text) : ""

    Text {
        anchors.verticalCenter: parent.verticalCenter
        text: indicator.status ? indicator.status.text : ""
        font.pixelSize: 10
        font.weight: Font.DemiBold
        color: PanelColors.secondary
    }
    SymbolImage {
        anchors.verticalCenter: parent.verticalCenter
        symbol: indicator.status ? indicator.status.symbol : "battery.100"
        size: 14
        color: PanelColors.secondary
    }
}
