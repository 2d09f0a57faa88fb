import QtQuick 2.4
import QtQuick.Controls 2.0

// A text field of the settings page: white, with a light frame that turns blue
// while it has the focus, unless the page gives it another frame colour.
TextField {
    id: field

    property color frameColor: activeFocus ? "lightblue" : "lightgray"

    x: 150
    width: 200
    height: 30
    font.pixelSize: 12
    background: Rectangle {
        color: "white"
        border.color: field.frameColor
    }
}
