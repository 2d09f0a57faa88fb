import QtQuick 2.4
import QtQuick.Controls 2.0

Pane {
    id: root

    property alias swipeView: swipeView
    property alias home: home
    property alias tools: tools

    padding: 0
    background: Rectangle {
        color: "#cfcfcf"
    }

    Pane {
        id: pages
        x: 0
        y: 0
        width: root.width
        height: root.height - 40
        leftPadding: 0
        rightPadding: 0
        topPadding: 0
        background: Rectangle {
            color: "#f0f0f0"
        }

        SwipeView {
            id: swipeView
        objectName: "swipeView"
            anchors.fill: parent
            clip: true

            Home {
                id: home
        objectName: "home"
            }

            Tools {
                id: tools
        objectName: "tools"
            }
        }
    }
}
