import QtQuick 2.4
import QtQuick.Controls 2.0
import QtQuick.Dialogs 1.2

Item {
    id: screen

    property alias openButton: openButton
    property alias closeAllButton: closeAllButton
    property alias manualButton: manualButton
    property alias searchField: searchField
    property alias recentFiles: recentFiles
    property alias clearListButton: clearListButton
    property alias fileDialog: fileDialog
    property alias closeAllDialog: closeAllDialog
    property alias updateNote: updateNote
    property alias clearListDialog: clearListDialog

    width: 800
    height: 400

    Rectangle {
        id: leftPane
        x: -1
        y: -1
        width: 250
        height: screen.height + 13
        color: "#f0f0f0"
        border.color: "#CFCFCF"

        Text {
            x: 10
            y: 22
            text: "Berkas"
            font.pixelSize: 18
        }

        IconButton {
            id: openButton
        objectName: "openButton"
            x: 0
            y: 54
            width: 249
            height: 35
            centered: false
            activeColor: "#CFCFCF"
            iconSource: "images/open-file.svg"
            iconWidth: 20
            iconHeight: 20
            text: " Buka Berkas"
            accessibleDescription: "Membuka berkas .vardo (Ctrl+O)"
            KeyNavigation.tab: closeAllButton
            KeyNavigation.backtab: clearListButton
        }

        IconButton {
            id: closeAllButton
        objectName: "closeAllButton"
            x: 1
            y: 85
            width: 248
            height: 35
            centered: false
            activeColor: "#CFCFCF"
            iconSource: "images/close-file.svg"
            iconWidth: 20
            iconHeight: 20
            text: "Tutup Semua Berkas"
            accessibleDescription: "Menutup semua berkas yang sedang dibuka"
            KeyNavigation.tab: manualButton
            KeyNavigation.backtab: openButton
        }

        // What the silent update check at start-up could not do: said here, out
        // of the way, rather than in a box over whatever the user is reading.
        Text {
            id: updateNote
            objectName: "updateNote"
            x: 10
            width: leftPane.width - 20
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 60
            visible: text !== ""
            wrapMode: Text.WordWrap
            font.pixelSize: 12
            color: "#6f6f6f"
        }
    }

    Rectangle {
        id: topPane
        x: leftPane.x + leftPane.width
        y: 0
        width: screen.width - 250
        height: 200
        color: "#ddf0ff"
        border.color: "Lightgray"

        Text {
            id: title
            anchors.centerIn: parent
            anchors.verticalCenterOffset: -40
            text: "Vardo Viewer"
            font.family: "Tahoma"
            font.bold: true
            font.pixelSize: 20
            color: "gray"
        }

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.top: title.bottom
            anchors.topMargin: 6
            width: 500
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
            text: "Aplikasi ini digunakan untuk menampilkan informasi debitur (.vardo) yang diperoleh dari KORA."
            font.family: "Calibri"
            font.pixelSize: 18
            color: "gray"
        }

        IconButton {
            id: manualButton
        objectName: "manualButton"
            anchors.centerIn: parent
            anchors.verticalCenterOffset: 50
            width: 200
            height: 30
            normalColor: "#bf1717"
            activeColor: "Beige"
            borderColor: "Beige"
            activeBorderColor: "#bf1717"
            textColor: "white"
            activeTextColor: "gray"
            fontFamily: "Tahoma"
            fontBold: true
            fontSize: 15
            text: "Informasi Lebih Lanjut"
            accessibleDescription: "Membuka Petunjuk Operasi"
            KeyNavigation.tab: searchField
            KeyNavigation.backtab: closeAllButton
        }
    }

    Rectangle {
        id: searchPane
        x: topPane.x
        y: topPane.y + topPane.height
        width: topPane.width
        height: 40
        color: "#f0f0f0"
        border.color: "#CFCFCF"
        border.width: 1

        Image {
            id: searchIcon
            x: 4
            anchors.verticalCenter: parent.verticalCenter
            source: "images/search.svg"
            sourceSize.width: 32
            sourceSize.height: 32
            scale: 0.8
        }

        SearchField {
            id: searchField
        objectName: "searchField"
            anchors.left: searchIcon.right
            anchors.right: parent.right
            anchors.rightMargin: 4
            anchors.verticalCenter: parent.verticalCenter
            height: 36
            font.pixelSize: 14
            placeholderText: "Pencarian Daftar Berkas.."
            focus: true
            Accessible.name: "Pencarian Daftar Berkas"
            KeyNavigation.tab: recentFiles
            KeyNavigation.backtab: manualButton
        }
    }

    RecentFiles {
        id: recentFiles
        objectName: "recentFiles"
        x: topPane.x - 1
        y: searchPane.y + searchPane.height
        width: screen.width - 250
        height: screen.height - 280
        searchText: searchField.text
        KeyNavigation.tab: clearListButton
        KeyNavigation.backtab: searchField
    }

    // Over the empty table: why it is empty and what to do.
    Text {
        id: emptyNote
        objectName: "emptyNote"
        x: recentFiles.x + 20
        y: recentFiles.y + 60
        width: recentFiles.width - 40
        wrapMode: Text.WordWrap
        font.pixelSize: 14
        color: "#6f6f6f"
        visible: text !== ""
        text: {
            if (recentFiles.shownCount > 0)
                return ""
            if (searchField.text !== "")
                return "Berkas \"" + searchField.text + "\" tidak ditemukan."
            return "Belum ada berkas yang dibuka. Pilih \"Buka Berkas\" (Ctrl+O) atau tarik berkas .vardo ke jendela ini."
        }
    }

    IconButton {
        id: clearListButton
        objectName: "clearListButton"
        x: recentFiles.x + 4
        y: recentFiles.y + recentFiles.height + 4
        height: 28
        normalColor: "transparent"
        activeColor: "transparent"
        textColor: "#6f6f6f"
        underlinedOnHover: true
        leftPadding: 6
        rightPadding: 6
        text: "Hapus Daftar Berkas"
        accessibleDescription: "Menghapus daftar berkas yang pernah dibuka"
        KeyNavigation.tab: openButton
        KeyNavigation.backtab: recentFiles
    }

    FileDialog {
        id: fileDialog
        objectName: "fileDialog"
        title: "Pilih File TAVI"
        modality: Qt.WindowModal
        selectExisting: true
        selectMultiple: false
        selectFolder: false
        nameFilters: ["File TAVI (*.vardo)"]
        selectedNameFilter: "File TAVI(*.vardo)"
        sidebarVisible: true
    }

    MessageDialog {
        id: clearListDialog
        objectName: "clearListDialog"
        icon: StandardIcon.Question
        title: "Konfirmasi"
        text: "Apakah anda yakin ingin menghapus daftar berkas?"
        standardButtons: StandardButton.Yes | StandardButton.No
    }

    MessageDialog {
        id: closeAllDialog
        objectName: "closeAllDialog"
        icon: StandardIcon.Question
        title: "Konfirmasi"
        text: "Apakah anda yakin ingin menutup semua berkas?"
        standardButtons: StandardButton.Yes | StandardButton.No
    }
}
