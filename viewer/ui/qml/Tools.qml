import QtQuick 2.4
import QtQuick.Controls 2.0

StackView {
    id: tools

    signal viewChanged(int index)

    Component {
        id: menuPage
        ToolsMain {
            onViewChanged: tools.viewChanged(index)
        }
    }

    Component {
        id: settingsPage
        ToolsConfig {
            onViewChanged: tools.viewChanged(index)
        }
    }

    Component {
        id: aboutPage
        AboutConfig {
            onViewChanged: tools.viewChanged(index)
        }
    }

    // Going back to the menu pops down to the first page rather than pushing a
    // fresh menu, so the stack does not grow with every visit; what the user sees
    // is the same.
    onViewChanged: {
        if (index === 0) {
            if (depth > 1)
                pop(null)
            else
                push(menuPage)
        } else if (index === 1) {
            push(settingsPage)
        } else if (index === 6) {
            push(aboutPage)
        }
    }

    Component.onCompleted: push(menuPage)
}
