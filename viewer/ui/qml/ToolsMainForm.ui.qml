import QtQuick 2.4

Rectangle {
    id: page
    objectName: "toolsMainPage"

    property alias settingsButton: settingsButton
    property alias offlineButton: offlineButton
    property alias onlineButton: onlineButton
    property alias faqButton: faqButton
    property alias manualButton: manualButton
    property alias aboutButton: aboutButton

    // A design size only: the tools stack sizes its pages to itself.
    implicitWidth: 800
    implicitHeight: 480
    color: "#f0f0f0"

    ToolsMenuButton {
        id: settingsButton
        objectName: "settingsButton"
        y: 92
        horizontalOffset: -page.width / 3
        captionY: 190
        caption: "Pengaturan Aplikasi"
        iconSource: "images/settings.png"
    }
    ToolsMenuButton {
        id: offlineButton
        objectName: "offlineButton"
        y: 92
        horizontalOffset: 0
        captionY: 190
        caption: "Update Offline"
        iconSource: "images/update-offline.png"
    }
    ToolsMenuButton {
        id: onlineButton
        objectName: "onlineButton"
        y: 92
        horizontalOffset: page.width / 3
        captionY: 190
        caption: "Update Online"
        iconSource: "images/update-online.png"
    }
    ToolsMenuButton {
        id: faqButton
        objectName: "faqButton"
        y: 300
        horizontalOffset: -page.width / 3
        captionY: 390
        caption: "FAQ"
        iconSource: "images/faq.png"
    }
    ToolsMenuButton {
        id: manualButton
        objectName: "manualButton"
        y: 300
        horizontalOffset: 0
        captionY: 390
        caption: "Petunjuk Operasi"
        iconSource: "images/manual.png"
    }
    ToolsMenuButton {
        id: aboutButton
        objectName: "aboutButton"
        y: 300
        horizontalOffset: page.width / 3
        captionY: 390
        caption: "About"
        iconSource: "images/about.png"
    }
}
