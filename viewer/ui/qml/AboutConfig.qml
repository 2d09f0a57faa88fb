import QtQuick 2.4

AboutConfigForm {
    signal viewChanged(int index)

    titleBar.backButton.onClicked: viewChanged(0)

    Keys.onEscapePressed: viewChanged(0)

    Component.onCompleted: {
        applicationVersion = verKvApplication
        libraryVersion = verKvLibrary
        manualVersion = verKvManual
        faqVersion = verKvFAQ
        configVersion = verKvConfig
        titleBar.backButton.forceActiveFocus()
    }
}
