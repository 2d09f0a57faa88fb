import QtQuick 2.4
import "scripts/common.js" as Common

MainForm {
    // Where Tab enters the screen on view and where it leaves it again; a screen
    // without a walk of its own names none.
    readonly property Item firstFocus: swipeView.currentIndex === 0 ? home.openButton : null
    readonly property Item lastFocus: swipeView.currentIndex === 0 ? home.clearListButton : null

    // Called by the main window by name.
    function setCurrentIndex(pos) {
        swipeView.currentIndex = pos
    }

    function checkTabCount() {
        home.tabCountChanged()
    }

    // An empty text takes the note away.
    function showUpdateNote(text) {
        home.updateNote.text = text
    }

    function openFileDialog() {
        home.fileDialog.open()
    }

    // A document dropped onto the window, treated as if chosen in the file dialog.
    function openFile(url) {
        home.openChosenFile(url)
    }

    DropArea {
        anchors.fill: parent
        keys: ["text/uri-list"]
        onDropped: {
            for (var i = 0; i < drop.urls.length; ++i) {
                var url = drop.urls[i].toString()
                if (/\.vardo$/i.test(url))
                    openFile(url)
            }
            drop.accept()
        }
    }

    swipeView.onCurrentIndexChanged: mainWindow.setTabCurrentIndex(swipeView.currentIndex)

    home.onFileSelected: {
        mainWindow.openTab(Common.getFilename(path), "faq", path)
        home.tabCountChanged()
    }

    Component.onCompleted: home.tabCountChanged()
}
