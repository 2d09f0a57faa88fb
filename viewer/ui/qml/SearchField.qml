import QtQuick 2.4
import QtQuick.Controls 2.0

// A frameless text field whose Escape key empties it.
TextField {
    background: Item {
    }
    Keys.onEscapePressed: text = ""
}
