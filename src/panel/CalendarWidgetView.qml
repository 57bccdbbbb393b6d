import QtQuick
import Talvo

// The calendar card: the month, a strip of seven days centred on today with a
// highlight that slides to the chosen day, that day's first two events (or a
// line saying there are none) and a button that opens the add-event form.
Item {
    id: card

    // NotchCalendarManager, or anything with its members; may be null.
    property QtObject calendar: null
    property bool frameless: true

    readonly property color accent: "#0a84ff"
    readonly property alias model: calendarModel
    readonly property alias form: form
    property var hoveredDate: null

    CalendarCardModel {
        id: calendarModel
        now: NotchViewModel.currentTime
        selectedDate: card.calendar ? card.calendar.selectedDate : new Date(NaN)
        events: card.calendar ? card.calendar.events : []
    }

    AddEventForm {
        id: form
        calendar: card.calendar
        viewModel: NotchViewModel
    }

    // The form belongs to the home tab: leaving it (or losing the card) ends it.
    onVisibleChanged: if (!visible) form.cancel()

    function chooseDay(date) {
        if (!calendar)
            return
        calendar.selectedDate = date
        calendar.fetchEvents()
    }

    Item {
        id: content
        anchors.fill: parent
        anchors.margins: 16

        Text {
            id: month
            objectName: "calendarMonth"
            text: calendarModel.monthText
            font.pixelSize: 24
            font.bold: true
            color: "white"
        }

        // The strip takes what the month leaves: its gaps shrink first, then its cells.
        Item {
            id: strip
            readonly property real available: content.width - month.width - 8
            readonly property int cellCount: Math.max(1, days.count)
            readonly property real gap: Math.max(0, Math.min(4, (available - cellCount * 24) / Math.max(1, cellCount - 1)))
            readonly property real cellWidth: Math.min(24, (available - gap * (cellCount - 1)) / cellCount)
            x: month.width + 8
            width: available
            height: 36

            // The chosen day's highlight, sliding between cells.
            Rectangle {
                objectName: "selectedDayHighlight"
                visible: calendarModel.selectedIndex >= 0
                x: Math.max(0, calendarModel.selectedIndex) * (strip.cellWidth + strip.gap)
                width: strip.cellWidth
                height: 36
                radius: 6
                color: Qt.rgba(card.accent.r, card.accent.g, card.accent.b, 0.14)
                border.width: 0.5
                border.color: Qt.rgba(card.accent.r, card.accent.g, card.accent.b, 0.3)
                Behavior on x { MotionSpring { motion: Springs.motion(0.28, 0.72); epsilon: 0.25 } }
            }

            Repeater {
                id: days
                model: calendarModel.days
                delegate: Item {
                    id: cell
                    required property var modelData
                    required property int index
                    readonly property bool selected: index === calendarModel.selectedIndex
                    readonly property bool hovered: hover.hovered
                    x: index * (strip.cellWidth + strip.gap)
                    width: strip.cellWidth
                    height: 36
                    scale: hovered && !selected ? 1.05 : 1.0
                    Behavior on scale { MotionSpring { motion: Springs.motion(0.2, 0.7); epsilon: 0.002 } }

                    Accessible.role: Accessible.Button
                    Accessible.name: modelData.date.toLocaleDateString(Qt.locale(), Locale.LongFormat)
                    Accessible.onPressAction: card.chooseDay(modelData.date)

                    Rectangle {
                        anchors.fill: parent
                        visible: cell.hovered && !cell.selected
                        radius: 6
                        color: Qt.rgba(1, 1, 1, 0.06)
                        border.width: 0.5
                        border.color: Qt.rgba(1, 1, 1, 0.1)
                    }
                    Column {
                        anchors.centerIn: parent
                        spacing: 2
                        Text {
                            anchors.horizontalCenter: parent.horizontalCenter
                            text: cell.modelData.abbr.toUpperCase()
                            font.pixelSize: 8
                            font.bold: true
                            color: cell.selected ? card.accent : PanelColors.secondary
                        }
                        Text {
                            anchors.horizontalCenter: parent.horizontalCenter
                            text: cell.modelData.number
                            font.pixelSize: 13
                            font.weight: cell.selected ? Font.Bold : Font.DemiBold
                            color: cell.selected ? card.accent : Qt.rgba(1, 1, 1, 0.85)
                        }
                    }
                    HoverHandler {
                        id: hover
                        onHoveredChanged: card.hoveredDate = hovered ? cell.modelData.date : null
                    }
                    TapHandler { onTapped: card.chooseDay(cell.modelData.date) }
                }
            }
        }

        // The day's events, or a line saying there are none.
        Column {
            objectName: "calendarEvents"
            y: strip.height + 8 + 2
            width: content.width - 24
            spacing: 4
            visible: calendarModel.hasEvents

            Repeater {
                model: calendarModel.shownEvents
                delegate: Row {
                    required property var modelData
                    spacing: 6
                    width: parent.width
                    Rectangle {
                        anchors.verticalCenter: parent.verticalCenter
                        width: 5
                        height: 5
                        radius: 2.5
                        color: parent.modelData.color
                    }
                    Text {
                        anchors.verticalCenter: parent.verticalCenter
                        width: Math.min(implicitWidth, parent.width - 11 - (start.visible ? start.width + 6 : 0))
                        text: parent.modelData.title
                        font.pixelSize: 11
                        font.weight: Font.Medium
                        color: "white"
                        elide: Text.ElideRight
                    }
                    Text {
                        id: start
                        anchors.verticalCenter: parent.verticalCenter
                        visible: text !== ""
                        text: parent.modelData.startText
                        font.pixelSize: 9
                        color: PanelColors.secondary
                    }
                }
            }
        }
        Row {
            objectName: "calendarEmpty"
            y: strip.height + 8 + 2
            spacing: 4
            visible: !calendarModel.hasEvents
            SymbolImage {
                anchors.verticalCenter: parent.verticalCenter
                symbol: "calendar"
                size: 11
                color: PanelColors.secondary
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: calendarModel.emptyText
                font.pixelSize: 11
                color: PanelColors.secondary
            }
        }
    }

    PanelButton {
        id: addButton
        objectName: "addEventButton"
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.rightMargin: 12
        anchors.bottomMargin: 12
        symbol: "plus.circle.fill"
        symbolSize: 16
        symbolWeight: Font.DemiBold
        color: hovered ? card.accent : Qt.rgba(1, 1, 1, 0.55)
        scale: hovered ? 1.08 : 1.0
        Behavior on scale { MotionSpring { motion: Springs.motion(0.2, 0.7); epsilon: 0.002 } }
        Accessible.name: qsTr("Add event")
        onClicked: form.open(card.calendar ? card.calendar.selectedDate : new Date())
    }

    AddEventPopover {
        form: form
        anchor: addButton
        accent: card.accent
    }

    // What the control bus shows of this card.
    readonly property var report: ({
        panelCalendarEvents: calendarModel.shownEvents.map(row => row.title).join("\n"),
        panelCalendarEmpty: calendarModel.hasEvents ? "" : calendarModel.emptyText,
        panelCalendarFormOpen: form.isOpen
    })
    onReportChanged: if (NotchStatePublisher) NotchStatePublisher.setPanelValues(report)
    Component.onCompleted: if (NotchStatePublisher) NotchStatePublisher.setPanelValues(report)
}
