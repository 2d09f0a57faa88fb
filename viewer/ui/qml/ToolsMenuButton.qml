import QtQuick 2.4

// One entry of the tools menu: a large dimmed icon with its caption below it,
// both centred on the same horizontal offset from the page centre.
IconButton {
    id: button

    property real horizontalOffset: 0
    property real captionY: 0
    property alias caption: captionText.text

    anchors.horizontalCenter: parent.horizontalCenter
    anchors.horizontalCenterOffset: horizontalOffset
    width: 91
    height: 86
    iconOpacity: 0.5
    iconWidth: 64
    iconHeight: 64
    opacity: hovered ? 1 : 0.7

    Text {
        id: captionText
        parent: button.parent
        y: button.captionY
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.horizontalCenterOffset: button.horizontalOffset
        font.family: "Verdana"
        font.pointSize: 12
        color: "gray"
    }
}
