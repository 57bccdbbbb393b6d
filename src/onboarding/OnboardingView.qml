import QtQuick
import Talvo

// The six pages of the first-run flow under a top bar with the back and close
// controls. Pages sit side by side in page order: the one on show slides in
// from the trailing edge when going forward and from the leading edge when
// going back, fading in as the other fades out. Enter presses the page's main
// button, Escape is the close control.
FocusScope {
    id: view

    readonly property int page: OnboardingModel.currentPage
    readonly property int transitionMs: 350

    PreferenceValue { id: shelfStyle; key: "shelfStyle" }
    PreferenceValue { id: targetDisplay; key: "targetDisplay" }
    PreferenceValue { id: glassUI; key: "enableGlassUI" }

    // The main button of each page, in page order.
    function pressMainButton() {
        if (page === OnboardingModel.Integrations)
            OnboardingModel.complete()
        else
            OnboardingModel.next()
    }

    Keys.onReturnPressed: pressMainButton()
    Keys.onEnterPressed: pressMainButton()
    Keys.onEscapePressed: OnboardingModel.close()

    Rectangle {
        anchors.fill: parent
        gradient: Gradient {
            GradientStop { position: 0; color: "#1c1c1e" }
            GradientStop { position: 1; color: "#111113" }
        }
    }

    Item {
        id: pages
        anchors.fill: parent
        clip: true

        Repeater {
            model: [welcomePage, shelfPage, displayPage, themePage, widgetPage, integrationsPage]
            delegate: Loader {
                required property int index
                required property Component modelData
                readonly property int offset: index - view.page
                readonly property bool current: offset === 0

                width: pages.width
                height: pages.height
                x: (LayoutMirroring.enabled ? -offset : offset) * pages.width
                opacity: current ? 1 : 0
                visible: opacity > 0
                enabled: current
                focus: current
                active: current || opacity > 0
                sourceComponent: modelData

                Behavior on x { NumberAnimation { duration: view.transitionMs; easing.type: Easing.InOutQuad } }
                Behavior on opacity { NumberAnimation { duration: view.transitionMs; easing.type: Easing.InOutQuad } }
            }
        }
    }

    // The top bar.
    OnboardingBarButton {
        id: backButton
        x: 16
        y: 14
        visible: view.page > 0
        symbol: "chevron.left"
        text: qsTr("Back")
        onClicked: OnboardingModel.back()
    }

    OnboardingBarButton {
        id: closeButton
        anchors.right: parent.right
        anchors.rightMargin: 16
        y: 14
        symbol: "xmark"
        accessibleName: qsTr("Close")
        onClicked: OnboardingModel.close()
    }

    // The page indicator.
    Row {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 14
        spacing: 6
        Accessible.role: Accessible.Indicator
        Accessible.name: qsTr("Page %1 of %2").arg(view.page + 1).arg(OnboardingModel.pageCount)
        Repeater {
            model: OnboardingModel.pageCount
            Rectangle {
                required property int index
                width: index === view.page ? 16 : 6
                height: 6
                radius: 3
                color: index === view.page ? "white" : Qt.rgba(1, 1, 1, 0.25)
                Behavior on width { NumberAnimation { duration: view.transitionMs } }
            }
        }
    }

    ShelfStyleAlert {
        anchors.fill: parent
        controller: OnboardingModel
    }

    component Header: Column {
        property alias title: titleText.text
        property alias subtitle: subtitleText.text
        anchors.horizontalCenter: parent ? parent.horizontalCenter : undefined
        width: 520
        spacing: 6
        Text {
            id: titleText
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            color: "white"
            font.pixelSize: 24
            font.bold: true
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        Text {
            id: subtitleText
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            color: Qt.rgba(1, 1, 1, 0.6)
            font.pixelSize: 13
        }
    }

    // A page: its header at the top, its main button at the bottom.
    component Page: FocusScope {
        id: pageItem
        property alias title: header.title
        property alias subtitle: header.subtitle
        property alias buttonText: mainButton.text
        default property alias content: body.data
        // The last page's main button completes the flow instead.
        property bool completes: false

        Header {
            id: header
            y: 58
        }
        Item {
            id: body
            anchors.top: header.bottom
            anchors.topMargin: 22
            anchors.bottom: mainButton.top
            anchors.bottomMargin: 18
            x: 40
            width: parent.width - 80
        }
        OnboardingMainButton {
            id: mainButton
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 40
            text: qsTr("Continue")
            onClicked: pageItem.completes ? OnboardingModel.complete() : OnboardingModel.next()
        }
    }

    Component {
        id: welcomePage
        FocusScope {
            Column {
                anchors.centerIn: parent
                anchors.verticalCenterOffset: -10
                spacing: 14

                AppIconButton {
                    anchors.horizontalCenter: parent.horizontalCenter
                    size: 112
                    onClicked: OnboardingModel.greet()
                }
                Item { width: 1; height: 6 }
                Text {
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: qsTr("Welcome to Talvo")
                    color: "white"
                    font.pixelSize: 28
                    font.bold: true
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
                Text {
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: qsTr("Dynamic Notch Shelf for Linux")
                    color: Qt.rgba(1, 1, 1, 0.6)
                    font.pixelSize: 14
                }
                Item { width: 1; height: 14 }
                OnboardingMainButton {
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: qsTr("Get Started")
                    onClicked: OnboardingModel.next()
                }
            }
        }
    }

    Component {
        id: shelfPage
        Page {
            title: qsTr("Notch or No Notch?")
            subtitle: qsTr("Where do you want the Talvo shelf to appear?")
            Row {
                anchors.centerIn: parent
                spacing: 16
                TalvoVisualSelectCard {
                    width: 240
                    title: qsTr("Hardware Notch")
                    subtitle: qsTr("Attached to top bezel")
                    icon: "display"
                    isNotchSelector: true
                    isRecommended: OnboardingModel.recommendedShelfStyle === "attached"
                    isSelected: shelfStyle.value !== "floating"
                    onClicked: OnboardingModel.chooseShelfStyle("attached")
                }
                TalvoVisualSelectCard {
                    width: 240
                    title: qsTr("Floating Island")
                    subtitle: qsTr("Floats below the top panel")
                    icon: "macwindow.badge.plus"
                    accent: "#bf5af2"
                    isNotchSelector: true
                    isFloating: true
                    isRecommended: OnboardingModel.recommendedShelfStyle === "floating"
                    isSelected: shelfStyle.value === "floating"
                    onClicked: OnboardingModel.chooseShelfStyle("floating")
                }
            }
        }
    }

    Component {
        id: displayPage
        Page {
            title: qsTr("Choose Your Display")
            subtitle: qsTr("Where do you want the Talvo shelf to appear?")
            Row {
                anchors.centerIn: parent
                spacing: 16
                TalvoVisualSelectCard {
                    width: 240
                    title: qsTr("Main Display")
                    subtitle: qsTr("Stays on primary screen")
                    icon: "desktopcomputer"
                    isDisplaySelector: true
                    isRecommended: true
                    badgeText: qsTr("Default")
                    isSelected: targetDisplay.value !== "active"
                    onClicked: OnboardingModel.chooseTargetDisplay("main")
                }
                TalvoVisualSelectCard {
                    width: 240
                    title: qsTr("Follow Active Screen")
                    subtitle: qsTr("Follows active mouse screen")
                    icon: "cursorarrow.motionlines"
                    isDisplaySelector: true
                    followsPointer: true
                    isSelected: targetDisplay.value === "active"
                    onClicked: OnboardingModel.chooseTargetDisplay("active")
                }
            }
        }
    }

    Component {
        id: themePage
        Page {
            title: qsTr("Choose Your Style")
            subtitle: qsTr("Choose the appearance of the notch dropdown shelf.")
            Row {
                anchors.centerIn: parent
                spacing: 16
                TalvoVisualSelectCard {
                    width: 240
                    title: qsTr("Glass UI")
                    subtitle: qsTr("Frosted glass effect")
                    icon: "macwindow.on.rectangle"
                    accent: "#64d2ff"
                    isThemeSelector: true
                    isGlass: true
                    isSelected: glassUI.value
                    onClicked: OnboardingModel.chooseGlassUI(true)
                }
                TalvoVisualSelectCard {
                    width: 240
                    title: qsTr("OLED Dark UI")
                    subtitle: qsTr("Classic minimal theme")
                    icon: "rectangle.fill"
                    isThemeSelector: true
                    isSelected: !glassUI.value
                    onClicked: OnboardingModel.chooseGlassUI(false)
                }
            }
        }
    }

    Component {
        id: widgetPage
        Page {
            title: qsTr("Select Your Widgets")
            subtitle: qsTr("Choose between 2 and 3 active widgets to display in your home notch panel.")
            Column {
                anchors.centerIn: parent
                spacing: 10
                Grid {
                    id: grid
                    columns: 2
                    spacing: 6
                    Repeater {
                        model: WidgetOrdering.catalog
                        WidgetSettingsCard {
                            required property var modelData
                            width: 256
                            height: 48
                            title: modelData.title
                            subtitle: modelData.subtitle
                            icon: modelData.symbol
                            isSelected: WidgetOrdering.activeWidgets.indexOf(modelData.id) >= 0
                            onClicked: OnboardingModel.toggleWidget(modelData.id)
                        }
                    }
                }
                Text {
                    width: grid.width
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.WordWrap
                    text: qsTr("You can change the order of active widgets in Settings later.")
                    color: Qt.rgba(1, 1, 1, 0.5)
                    font.pixelSize: 11
                }
            }
        }
    }

    Component {
        id: integrationsPage
        Page {
            title: qsTr("Enable Integrations")
            subtitle: qsTr("Grant access to show calendar schedules and weather in the notch.")
            buttonText: qsTr("Done, Launch Talvo")
            completes: true
            Column {
                anchors.centerIn: parent
                spacing: 10
                OnboardingPermissionRow {
                    width: 460
                    symbol: "calendar"
                    iconColor: "#ff453a"
                    title: qsTr("Calendar Access")
                    subtitle: qsTr("Required to fetch daily schedules and weekly agenda list.")
                    granted: NotchCalendarManager.authorizationGranted
                    onAllow: NotchCalendarManager.requestAccess()
                }
                OnboardingPermissionRow {
                    width: 460
                    symbol: "mappin.and.ellipse"
                    iconColor: "#0a84ff"
                    title: qsTr("Location Services")
                    subtitle: qsTr("Required to fetch current weather details and local temperature.")
                    granted: WeatherManager.isLocationAuthorized
                    onAllow: WeatherManager.requestLocationAccess()
                }
            }
        }
    }

    // The wide button at the foot of a page.
    component OnboardingMainButton: Rectangle {
        id: mainButton
        property string text
        signal clicked()
        width: 200
        height: 42
        radius: 12
        color: Qt.rgba(1, 1, 1, mainHover.hovered ? 0.14 : 0.08)
        border.width: activeFocus ? 2 : 0.75
        border.color: activeFocus ? "#0a84ff" : Qt.rgba(1, 1, 1, 0.18)
        activeFocusOnTab: true
        scale: mainTap.pressed ? 0.97 : 1
        Behavior on scale { NumberAnimation { duration: 100 } }
        Accessible.role: Accessible.Button
        Accessible.name: text
        Accessible.onPressAction: mainButton.clicked()
        Keys.onSpacePressed: mainButton.clicked()
        Text {
            anchors.centerIn: parent
            text: mainButton.text
            color: "white"
            font.pixelSize: 14
            font.bold: true
        }
        HoverHandler { id: mainHover }
        TapHandler { id: mainTap; onTapped: mainButton.clicked() }
    }

    // Back and close in the top bar: a symbol, with a text where one is set.
    component OnboardingBarButton: Rectangle {
        id: barButton
        property string symbol
        property string text
        property string accessibleName: text
        signal clicked()
        width: barRow.implicitWidth + 16
        height: 28
        radius: 14
        color: Qt.rgba(1, 1, 1, barHover.hovered ? 0.14 : 0.06)
        border.width: activeFocus ? 2 : 0
        border.color: "#0a84ff"
        activeFocusOnTab: true
        Accessible.role: Accessible.Button
        Accessible.name: accessibleName
        Accessible.onPressAction: barButton.clicked()
        Keys.onSpacePressed: barButton.clicked()
        Keys.onReturnPressed: barButton.clicked()
        Keys.onEnterPressed: barButton.clicked()
        Row {
            id: barRow
            anchors.centerIn: parent
            spacing: 4
            SymbolImage {
                anchors.verticalCenter: parent.verticalCenter
                symbol: barButton.symbol
                size: 12
                color: Qt.rgba(1, 1, 1, 0.8)
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                visible: barButton.text !== ""
                text: barButton.text
                color: Qt.rgba(1, 1, 1, 0.8)
                font.pixelSize: 12
                font.weight: Font.DemiBold
            }
        }
        HoverHandler { id: barHover }
        TapHandler { onTapped: barButton.clicked() }
    }

    // The application icon; a click plays the greeting on the notch.
    component AppIconButton: Item {
        id: iconButton
        property real size: 96
        signal clicked()
        width: size
        height: size
        activeFocusOnTab: true
        scale: iconHover.hovered ? 1.05 : 1
        Behavior on scale { NumberAnimation { duration: 150 } }
        Accessible.role: Accessible.Button
        Accessible.name: qsTr("Show the greeting on the notch")
        Accessible.onPressAction: iconButton.clicked()
        Keys.onSpacePressed: iconButton.clicked()
        Keys.onReturnPressed: iconButton.clicked()
        Keys.onEnterPressed: iconButton.clicked()

        // The program's icon, drawn.
        Rectangle {
            anchors.fill: parent
            radius: width * 0.22
            gradient: Gradient {
                GradientStop { position: 0; color: "#3a3a3c" }
                GradientStop { position: 1; color: "#111113" }
            }
            border.width: 1
            border.color: Qt.rgba(1, 1, 1, 0.15)
            Rectangle {
                anchors.horizontalCenter: parent.horizontalCenter
                y: parent.height * 0.2
                width: parent.width * 0.5
                height: parent.height * 0.16
                radius: height / 2
                color: "black"
                border.width: 1
                border.color: Qt.rgba(1, 1, 1, 0.2)
            }
        }
        Rectangle {
            anchors.fill: parent
            anchors.margins: -4
            radius: width * 0.24
            color: "transparent"
            border.width: iconButton.activeFocus ? 2 : 0
            border.color: "#0a84ff"
        }
        HoverHandler { id: iconHover }
        TapHandler { onTapped: iconButton.clicked() }
    }

    // One permission: what it is for, and "Allow" or "Allowed".
    component OnboardingPermissionRow: Rectangle {
        id: row
        property string symbol
        property color iconColor
        property string title
        property string subtitle
        property bool granted: false
        signal allow()
        height: 64
        radius: 12
        color: Qt.rgba(1, 1, 1, 0.05)
        border.width: 1
        border.color: Qt.rgba(1, 1, 1, 0.08)
        Accessible.role: Accessible.Grouping
        Accessible.name: title
        Accessible.description: granted ? qsTr("Allowed") : subtitle

        Rectangle {
            id: badge
            x: 14
            anchors.verticalCenter: parent.verticalCenter
            width: 34
            height: 34
            radius: 9
            color: Qt.rgba(row.iconColor.r, row.iconColor.g, row.iconColor.b, 0.2)
            SymbolImage {
                anchors.centerIn: parent
                symbol: row.symbol
                size: 16
                color: row.iconColor
            }
        }
        Column {
            anchors.left: badge.right
            anchors.leftMargin: 12
            anchors.right: action.left
            anchors.rightMargin: 12
            anchors.verticalCenter: parent.verticalCenter
            spacing: 2
            Text {
                width: parent.width
                text: row.title
                color: "white"
                font.pixelSize: 13
                font.weight: Font.DemiBold
            }
            Text {
                width: parent.width
                text: row.subtitle
                color: Qt.rgba(1, 1, 1, 0.55)
                font.pixelSize: 11
                wrapMode: Text.WordWrap
            }
        }
        Item {
            id: action
            anchors.right: parent.right
            anchors.rightMargin: 14
            anchors.verticalCenter: parent.verticalCenter
            width: Math.max(allowButton.width, allowed.implicitWidth)
            height: 28
            TalvoButton {
                id: allowButton
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                visible: !row.granted
                text: qsTr("Allow")
                fill: "#0a84ff"
                hoverFill: "#409cff"
                onClicked: row.allow()
            }
            Row {
                id: allowed
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                visible: row.granted
                spacing: 4
                SymbolImage {
                    anchors.verticalCenter: parent.verticalCenter
                    symbol: "checkmark.circle.fill"
                    size: 14
                    color: "#30d158"
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: qsTr("Allowed")
                    color: "#30d158"
                    font.pixelSize: 12
                    font.weight: Font.DemiBold
                }
            }
        }
    }
}
