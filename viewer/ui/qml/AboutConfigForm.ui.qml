import QtQuick 2.4

Rectangle {
    id: page
    objectName: "aboutConfigPage"

    property alias titleBar: titleBar
    property alias applicationVersion: applicationVersion.value
    property alias libraryVersion: libraryVersion.value
    property alias manualVersion: manualVersion.value
    property alias faqVersion: faqVersion.value
    property alias configVersion: configVersion.value

    // A design size only: the tools stack sizes its pages to itself.
    implicitWidth: 800
    implicitHeight: 480
    color: "#f0f0f0"

    TitleBar {
        id: titleBar
        width: page.width
        title: "Tentang KORA Viewer"
    }

    Text {
        id: heading
        x: 50
        y: 80
        text: "KORA Viewer Version"
        font.pixelSize: 16
    }

    Image {
        id: logo
        x: 50
        anchors.top: heading.bottom
        anchors.topMargin: 43
        width: 101
        height: 100
        fillMode: Image.PreserveAspectFit
        source: "images/logo-kora-viewer.png"
    }

    VersionRow {
        id: applicationVersion
        objectName: "applicationVersion"
        x: logo.x + logo.width + 22
        y: 140
        label: "Versi Aplikasi"
    }
    VersionRow {
        id: libraryVersion
        objectName: "libraryVersion"
        x: logo.x + logo.width + 22
        y: 165
        label: "Versi Library"
    }
    VersionRow {
        id: manualVersion
        objectName: "manualVersion"
        x: logo.x + logo.width + 22
        y: 190
        label: "Versi Manual"
    }
    VersionRow {
        id: faqVersion
        objectName: "faqVersion"
        x: logo.x + logo.width + 22
        y: 215
        label: "Versi FAQ"
    }
    VersionRow {
        id: configVersion
        objectName: "configVersion"
        x: logo.x + logo.width + 22
        y: 240
        label: "Versi Config"
    }

    Text {
        x: 40
        y: 295
        width: 536
        wrapMode: Text.WordWrap
        font.pixelSize: 14
        text: "KORA Viewer merupakan aplikasi yang digunakan untuk melihat file .vardo individu maupun batch secara cepat dan aman. Aplikasi ini dapat mengextract file .vardo menjadi .pdf maupun .txt File yang dapat digunakan sesuai dengan kebutuhan."
    }
}
