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
    // For a button that reads as a link in running text.
    property bool underlinedOnHover: false
    // What a screen reader says for the button: its caption, or for a button that
    // shows only an icon, a name given by the screen.
    property string accessibleName: text.trim()
    property string accessibleDescription: ""
    readonly property bool active: control.pressed || control.hovered

    Accessible.role: Accessible.Button
    Accessible.name: accessibleName
    Accessible.description: accessibleDescription
    Accessible.onPressAction: control.clicked()

    // Space comes with the button; Enter is what keyboard users try first.
    Keys.onReturnPressed: control.clicked()
    Keys.onEnterPressed: control.clicked()

    hoverEnabled: true
    padding: 0
    leftPadding: centered ? 0 : 10

    background: Rectangle {
        color: control.active ? control.activeColor : control.normalColor
        border.color: control.active ? control.activeBorderColor : control.borderColor

        // The keyboard focus, drawn inside the button so that neighbours do not cover it.
        Rectangle {
            objectName: "focusFrame"
            anchors.fill: parent
            anchors.margins: 2
            color: "transparent"
            border.color: "#1f6fbf"
            border.width: 2
            visible: control.visualFocus
        }
    }

    contentItem: Item {
        implicitWidth: content.implicitWidth
        implicitHeight: content.implicitHeight
        opacity: control.contentOpacity
        Row {
            id: content
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
                font.underline: control.underlinedOnHover && control.hovered
            }
        }
    }
}
