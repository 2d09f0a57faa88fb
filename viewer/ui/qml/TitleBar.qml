import QtQuick 2.4

// The bar across the top of a tools page: the red back button and the page title.
Rectangle {
    property alias backButton: backButton
    property alias title: titleText.text

    height: 44
    color: "#f0f0f0"
    border.color: "lightgray"

    IconButton {
        id: backButton
        width: 44
        height: 44
        normalColor: "#bf1717"
        activeColor: "#bf1717"
        iconSource: "images/back.png"
        iconWidth: 24
        iconHeight: 24
    }

    Text {
        id: titleText
        anchors.left: backButton.right
        anchors.leftMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        font.family: "Tahoma"
        font.pixelSize: 20
        color: "#6f6f6f"
    }
}
