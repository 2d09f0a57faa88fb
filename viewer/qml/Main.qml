import QtQuick 2.4
import "scripts/common.js" as Common

MainForm {
    // Called by the main window by name.
    function setCurrentIndex(pos) {
        swipeView.currentIndex = pos
    }

    function checkTabCount() {
        home.tabCountChanged()
    }

    swipeView.onCurrentIndexChanged: mainWindow.setTabCurrentIndex(swipeView.currentIndex)

    home.onFileSelected: {
        mainWindow.openTab(Common.getFilename(path), "faq", path)
        home.tabCountChanged()
    }

    Component.onCompleted: home.tabCountChanged()
}
