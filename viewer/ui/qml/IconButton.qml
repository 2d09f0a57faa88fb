import QtQuick 2.4
import QtQuick.Controls 2.0

// The screens' flat buttons: an icon with an optional caption on a plain
// background that changes colour while the button is hovered or pressed.
Button {
    id: control

    property alias iconSource: icon.source
    property alias iconWidth: icon.sourceSize.width
    property alias iconHeight: icon.sourceSize.height
    property real iconOpacity: 1
    property real contentOpacity: 1
    property color normalColor: "#f0f0f0"
    property color activeColor: "#f0f0f0"
    property color borderColor: "transparent"
    property color activeBorderColor: borderColor
    property color textColor: "black"
    property color activeTextColor: textColor
    property string fontFamily: ""
    property bool fontBold: false
    property int fontSize: 14
    property bool centered: true
    readonly property bool active: control.pressed || control.hovered

    hoverEnabled: true
    padding: 0
    leftPadding: centered ? 0 : 10

    background: Rectangle {
        color: control.active ? control.activeColor : control.normalColor
        border.color: control.active ? control.activeBorderColor : control.borderColor
    }

    contentItem: Item {
        opacity: control.contentOpacity
        Row {
            anchors.verticalCenter: parent.verticalCenter
            anchors.horizontalCenter: control.centered ? parent.horizontalCenter : undefined
            spacing: 4
            Image {
                id: icon
                anchors.verticalCenter: parent.verticalCenter
                opacity: control.iconOpacity
                fillMode: Image.PreserveAspectFit
                visible: source != ""
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: control.text
                visible: text.length > 0
                color: control.active ? control.activeTextColor : control.textColor
                font.family: control.fontFamily !== "" ? control.fontFamily : control.font.family
                font.bold: control.fontBold
                font.pixelSize: control.fontSize
            }
        }
    }
}
