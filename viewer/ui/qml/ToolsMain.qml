import QtQuick 2.4

ToolsMainForm {
    signal viewChanged(int index)

    settingsButton.onClicked: viewChanged(1)
    offlineButton.onClicked: mainWindow.updateOffline()
    onlineButton.onClicked: mainWindow.checkUpdateStatus(true)
    faqButton.onClicked: mainWindow.openTab("FAQ", "faq", "")
    manualButton.onClicked: mainWindow.openTab("MANUAL", "manual", "")
    aboutButton.onClicked: viewChanged(6)
}
