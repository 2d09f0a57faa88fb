import QtQuick 2.4

// One line of the About page: a component's name, a colon and its version.
Row {
    property alias label: labelText.text
    property alias value: valueText.text

    Text {
        id: labelText
        width: 153
        font.pixelSize: 14
    }
    Text {
        text: ": "
        font.pixelSize: 14
    }
    Text {
        id: valueText
        font.pixelSize: 14
    }
}
