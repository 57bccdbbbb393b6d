import QtQuick
import Talvo

// The recent-files card: the granted Downloads folder's newest files, or the
// request for that folder. The folder is read only while this card shows.
Item {
    id: card

    readonly property QtObject manager: RecentFilesManager
    readonly property bool hasPermission: manager ? manager.hasPermission : false
    readonly property int count: fileList.count

    CardPresence { shown: card.visible; model: RecentFilesCardModel }

    Column {
        anchors.fill: parent
        spacing: 4

        UtilityCardHeader {
            symbol: "folder"
            title: qsTr("Recent Files")
        }

        Item {
            width: parent.width
            height: parent.height - y

            Column {
                objectName: "downloadsAccess"
                anchors.centerIn: parent
                visible: !card.hasPermission
                spacing: 4
                SymbolImage {
                    anchors.horizontalCenter: parent.horizontalCenter
                    symbol: "folder.badge.plus"
                    size: 16
                    color: Qt.rgba(1, 1, 1, 0.2)
                }
                Text {
                    anchors.horizontalCenter: parent.horizontalCenter
                    text: qsTr("Downloads Access Required")
                    font.pixelSize: 9
                    font.bold: true
                    color: Qt.rgba(1, 1, 1, 0.85)
                }
                Text {
                    anchors.horizontalCenter: parent.horizontalCenter
                    width: Math.min(implicitWidth, 220)
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.WordWrap
                    text: qsTr("Grant permission to show recent downloads")
                    font.pixelSize: 8
                    color: Qt.rgba(1, 1, 1, 0.5)
                }
                PanelButton {
                    anchors.horizontalCenter: parent.horizontalCenter
                    objectName: "grantDownloadsAccess"
                    text: qsTr("Grant Downloads Access")
                    textSize: 9
                    textWeight: Font.Bold
                    leftPadding: 10
                    rightPadding: 10
                    topPadding: 4
                    bottomPadding: 4
                    Accessible.name: text
                    onClicked: card.manager.requestAccess()
                    Rectangle {
                        z: -1
                        anchors.fill: parent
                        radius: 6
                        color: "#0a84ff"
                    }
                }
            }
            UtilityEmptyState {
                anchors.fill: parent
                visible: card.hasPermission && card.count === 0
                symbol: "folder"
                title: qsTr("No Recent Files")
                caption: qsTr("Your files will appear here")
            }
            UtilityListView {
                id: fileList
                objectName: "recentFilesList"
                anchors.fill: parent
                visible: card.hasPermission && count > 0
                model: card.manager ? card.manager.recentFiles : null
                delegate: RecentFileListRow {}
            }
        }
    }

    // What the control bus shows of this card: the grant request or the list.
    readonly property var report: ({ panelDownloadsGranted: hasPermission, panelDownloadsCount: count })
    onReportChanged: if (NotchStatePublisher) NotchStatePublisher.setPanelValues(report)
    Component.onCompleted: if (NotchStatePublisher) NotchStatePublisher.setPanelValues(report)
}
