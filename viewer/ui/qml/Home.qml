import QtQuick 2.4

HomeForm {
    id: home

    signal fileSelected(string path)
    signal tabCountChanged

    // A document chosen by the user: opened first, then remembered, whether or not
    // it opened.
    function openChosenFile(url) {
        if (url !== "") {
            home.fileSelected(url)
            recentFiles.addRecentFile(url)
        }
    }

    onTabCountChanged: {
        var open = mainWindow.getTabCount() > 0
        closeAllButton.enabled = open
        closeAllButton.contentOpacity = open ? 1 : 0.5
    }

    // The field sits inside the swipe view's focus scope, so it has to claim the
    // focus all the way up for typing to reach it at once.
    Component.onCompleted: searchField.forceActiveFocus()

    openButton.onClicked: fileDialog.open()

    closeAllButton.onClicked: {
        if (mainWindow.getTabCount() > 0)
            closeAllDialog.open()
    }

    manualButton.onClicked: mainWindow.openTab("MANUAL", "manual", "")

    clearListButton.onClicked: clearListDialog.open()
    clearListDialog.onYes: recentFiles.clearFiles()

    recentFiles.onOpenFile: {
        home.fileSelected(filename)
        recentFiles.syncFiles()
    }

    fileDialog.onAccepted: {
        var url = fileDialog.fileUrl.toString()
        console.log("file.onAccepted filename = " + url)
        openChosenFile(url)
    }

    closeAllDialog.onYes: {
        mainWindow.closeAllTab()
        home.tabCountChanged()
    }
}
