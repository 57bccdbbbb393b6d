import QtQuick
import QtQuick.Shapes
import Talvo

// The notch window's content: the black body at the top centre, reshaped with
// one spring for every change of state, holding one of seven layouts, and the
// toast below it. Every number and choice comes from NotchShelfLayout.
Item {
    id: root

    // The player's state: NowPlayingManager, or an object with its members
    // (isPlaying, isClosedForCurrentTrack, hasAlbumArt, albumArt, hasAppIcon,
    // appIcon, appName, closeForCurrentTrack()). Without one the now-playing
    // peek never shows.
    property QtObject nowPlaying: null

    readonly property alias layout: shelfLayout
    readonly property alias body: body

    PreferenceValue { id: widgetsOrderPreference; key: "activeWidgetsOrder" }
    PreferenceValue { id: glassPreference; key: "enableGlassUI" }
    PreferenceValue { id: shelfStylePreference; key: "shelfStyle" }

    NotchShelfLayout {
        id: shelfLayout
        isHovering: NotchViewModel.isHovering
        isFullyExpanded: NotchViewModel.isFullyExpanded
        isFileDragActive: NotchViewModel.isFileDragActive
        isDragTargetActive: NotchViewModel.isDragTargetActive
        isShelfItemDragActive: NotchViewModel.isShelfItemDragActive
        isOnboardingGreetingActive: NotchViewModel.isOnboardingGreetingActive
        itemCount: NotchViewModel.items.count
        activeTab: NotchViewModel.activeTab
        toastStyle: NotchViewModel.toastStyle
        isPlaying: root.nowPlaying ? root.nowPlaying.isPlaying : false
        isClosedForCurrentTrack: root.nowPlaying ? root.nowPlaying.isClosedForCurrentTrack : false
        activeWidgetsOrder: widgetsOrderPreference.value
        enableGlassUI: glassPreference.value
        shelfStyle: shelfStylePreference.value
        windowController: NotchWindowController
    }

    component ShadowStroke: ShapePath {
        fillColor: "transparent"
        strokeColor: Qt.rgba(0, 0, 0, body.shadowOpacity / 7)
        joinStyle: ShapePath.RoundJoin
        capStyle: ShapePath.RoundCap
        PathSvg { path: body.shadowPath }
    }

    Item {
        id: body

        anchors.top: parent.top
        anchors.horizontalCenter: parent.horizontalCenter
        width: shelfLayout.notchWidth
        height: shelfLayout.notchHeight

        // The animated values the outline and the background follow.
        property real topRadius: shelfLayout.topRadius
        property real bottomRadius: shelfLayout.bottomRadius
        property real cornerRadius: shelfLayout.cornerRadius
        property real blackOpacity: shelfLayout.blackOpacity
        property real glassOpacity: shelfLayout.glassOpacity
        property real shadowOpacity: shelfLayout.shadowOpacity
        property real shadowOffsetY: shelfLayout.shadowOffsetY
        readonly property string outline: shelfLayout.isFloating ? floatingOutline.pathData : attachedOutline.pathData
        // The attached notch's shadow leaves out the top edge, which lies
        // along the screen's: turning back along it at the ears' tips, the
        // strokes would pile up there in dark specks.
        readonly property string shadowPath: shelfLayout.isFloating ? floatingOutline.pathData
                                                                    : attachedOutline.sidesPathData

        // Without a compositing manager the window is drawn only where the
        // body is, so the controller follows it through every animation.
        Binding {
            target: NotchWindowController
            property: "bodyRect"
            value: Qt.rect(body.x, body.y, body.width, body.height)
            when: NotchWindowController !== null
        }

        Behavior on width { MotionSpring { epsilon: 0.25 } }
        Behavior on height { MotionSpring { epsilon: 0.25 } }
        Behavior on topRadius { MotionSpring { epsilon: 0.1 } }
        Behavior on bottomRadius { MotionSpring { epsilon: 0.1 } }
        Behavior on cornerRadius { MotionSpring { epsilon: 0.1 } }
        Behavior on blackOpacity { MotionSpring {} }
        Behavior on glassOpacity { MotionSpring {} }
        Behavior on shadowOpacity { MotionSpring {} }
        Behavior on shadowOffsetY { MotionSpring { epsilon: 0.1 } }

        OrvaneNotchShape {
            id: attachedOutline
            width: body.width
            height: body.height
            topRadius: body.topRadius
            bottomRadius: body.bottomRadius
        }
        ContinuousRoundedRectangle {
            id: floatingOutline
            width: body.width
            height: body.height
            radius: body.cornerRadius
        }

        // The software renderer has no blur: four nested strokes of the
        // outline, each a seventh as dark as the shadow, add up to about half
        // its darkness at the edge and fade to nothing at the blur radius.
        Shape {
            y: body.shadowOffsetY
            width: body.width
            height: body.height
            visible: body.shadowOpacity > 0.002
            antialiasing: true
            ShadowStroke { strokeWidth: shelfLayout.shadowRadius * 2 }
            ShadowStroke { strokeWidth: shelfLayout.shadowRadius * 1.5 }
            ShadowStroke { strokeWidth: shelfLayout.shadowRadius }
            ShadowStroke { strokeWidth: shelfLayout.shadowRadius * 0.5 }
        }

        Shape {
            id: background
            anchors.fill: parent
            antialiasing: true
            ShapePath {
                fillColor: Qt.rgba(0, 0, 0, body.blackOpacity)
                strokeColor: "transparent"
                PathSvg { path: body.outline }
            }
        }
        Shape {
            anchors.fill: parent
            antialiasing: true
            opacity: body.glassOpacity
            visible: opacity > 0.001
            ShapePath {
                strokeColor: "transparent"
                fillGradient: LinearGradient {
                    x1: 0; y1: 0
                    x2: body.width; y2: body.height
                    GradientStop { position: 0; color: Qt.rgba(1, 1, 1, 0.07) }
                    GradientStop { position: 1; color: Qt.rgba(1, 1, 1, 0.01) }
                }
                PathSvg { path: body.outline }
            }
        }

        // Below the ears the attached body is inset by the top radius; the
        // content is kept inside that band (the renderer clips to rectangles).
        Item {
            id: content
            x: shelfLayout.isFloating ? 0 : body.topRadius
            width: body.width - 2 * x
            height: body.height
            clip: true

            Item {
                x: -content.x
                width: body.width
                height: body.height

                // Each layout's view is named by address, not by type: it and
                // what it imports load when it first shows, so the first frame
                // of the notch waits for none of them, and a notch that stays
                // collapsed carries none of them.
                NotchContentLayer {
                    anchors.fill: parent
                    shown: shelfLayout.contentLayout === NotchShelfLayout.Greeting
                    content: Column {
                        Item { width: 1; height: shelfLayout.baseNotchHeight }
                        Loader {
                            width: body.width
                            height: body.height - shelfLayout.baseNotchHeight
                            Component.onCompleted: setSource(root.viewAddress("notch/NotchGreetingView"))
                        }
                    }
                }
                NotchContentLayer {
                    objectName: "panelLayer"
                    anchors.fill: parent
                    shown: shelfLayout.contentLayout === NotchShelfLayout.Panel
                    content: Loader {
                        Component.onCompleted: setSource(root.viewAddress("panel/NotchCalendarPanelView"),
                                                         { layout: shelfLayout, nowPlaying: root.nowPlaying })
                    }
                }
                NotchContentLayer {
                    anchors.fill: parent
                    hiddenScale: 0.94
                    shown: shelfLayout.contentLayout === NotchShelfLayout.DropTarget
                    content: Loader {
                        Component.onCompleted: setSource(root.viewAddress("notch/NotchDropTargetView"),
                                                         { layout: shelfLayout })
                    }
                }
                NotchContentLayer {
                    anchors.fill: parent
                    shown: shelfLayout.contentLayout === NotchShelfLayout.FileDragHint
                    content: Loader {
                        Component.onCompleted: setSource(root.viewAddress("notch/NotchFileDragHintView"),
                                                         { layout: shelfLayout })
                    }
                }
                NotchContentLayer {
                    anchors.fill: parent
                    shown: shelfLayout.contentLayout === NotchShelfLayout.ShelfStrip
                    content: Loader {
                        Component.onCompleted: setSource(root.viewAddress("notch/NotchShelfStripView"),
                                                         { layout: shelfLayout })
                    }
                }
                NotchContentLayer {
                    anchors.fill: parent
                    hiddenScale: 0.92
                    scalesOnExit: false
                    shown: shelfLayout.contentLayout === NotchShelfLayout.NowPlayingPeek
                    content: Loader {
                        id: peek
                        Component.onCompleted: setSource(root.viewAddress("notch/NowPlayingPeekView"),
                                                         { layout: shelfLayout, hovering: NotchViewModel.isHovering,
                                                           nowPlaying: root.nowPlaying })
                        Binding {
                            target: peek.item
                            property: "hovering"
                            value: NotchViewModel.isHovering
                            when: peek.item !== null
                        }
                        Binding {
                            target: peek.item
                            property: "nowPlaying"
                            value: root.nowPlaying
                            when: peek.item !== null
                        }
                        Connections {
                            target: peek.item
                            ignoreUnknownSignals: true
                            function onCloseRequested() {
                                if (root.nowPlaying)
                                    root.nowPlaying.closeForCurrentTrack()
                            }
                        }
                    }
                }
            }
        }

        Shape {
            anchors.fill: parent
            antialiasing: true
            ShapePath {
                fillColor: "transparent"
                strokeColor: Qt.rgba(1, 1, 1, 0.12)
                strokeWidth: 0.5
                joinStyle: ShapePath.RoundJoin
                PathSvg { path: body.outline }
            }
        }

        TapHandler {
            onTapped: shelfLayout.tapBody(NotchViewModel)
        }
    }

    // The toast is built when it is first needed, and shown once built, so
    // that it slides in as it does ever after.
    Loader {
        id: toast

        readonly property bool wanted: NotchViewModel.showLimitReachedToast
        readonly property bool ready: status === Loader.Ready

        anchors.fill: parent
        onWantedChanged: {
            if (wanted && !item)
                setSource(root.viewAddress("notch/NotchToastView"),
                          { layout: shelfLayout, message: NotchViewModel.toastMessage })
        }
        Binding {
            target: toast.item
            property: "message"
            value: NotchViewModel.toastMessage
            when: toast.ready
        }
        Binding {
            target: toast.item
            property: "shown"
            value: NotchViewModel.showLimitReachedToast
            when: toast.ready
        }
        Connections {
            target: toast.item
            ignoreUnknownSignals: true
            function onOccupiedRectChanged() {
                if (NotchWindowController)
                    NotchWindowController.toastRect = toast.item.occupiedRect
            }
        }
    }

    function viewAddress(name) {
        return "qrc:/qt/qml/Talvo/" + name + ".qml"
    }
}
