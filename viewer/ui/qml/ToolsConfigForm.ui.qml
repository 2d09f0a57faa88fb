import QtQuick 2.4
import QtQuick.Controls 2.0
import QtQuick.Dialogs 1.2

Rectangle {
    id: page
    objectName: "toolsConfigPage"

    property alias titleBar: titleBar
    property alias saveButton: saveButton
    property alias resetButton: resetButton
    property alias addressField: addressField
    property alias portField: portField
    property alias securedBox: securedBox
    property alias usernameField: usernameField
    property alias passwordField: passwordField
    property alias confirmationField: confirmationField
    property alias loadedPassword: loadedPassword
    property alias loadedConfirmation: loadedConfirmation
    property alias saveDialog: saveDialog
    property alias resetDialog: resetDialog

    // A design size only: the tools stack sizes its pages to itself.
    implicitWidth: 800
    implicitHeight: 480
    color: "#f0f0f0"

    TitleBar {
        id: titleBar
        width: page.width
        title: "Pengaturan Aplikasi"

        IconButton {
            id: saveButton
        objectName: "saveButton"
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.horizontalCenterOffset: -60
            width: 44
            height: 44
            scale: 0.8
            iconSource: "images/save.png"
            iconWidth: 32
            iconHeight: 32
            opacity: hovered ? 1 : 0.7
        }
        Text {
            anchors.centerIn: parent
            text: "Simpan"
            font.family: "Calibri"
            font.pixelSize: 18
            color: "#6f6f6f"
        }
        IconButton {
            id: resetButton
        objectName: "resetButton"
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.horizontalCenterOffset: 60
            width: 44
            height: 44
            scale: 0.8
            iconSource: "images/reset.png"
            iconWidth: 32
            iconHeight: 32
            opacity: hovered ? 1 : 0.7
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.horizontalCenterOffset: 105
            text: "Reset"
            font.family: "Calibri"
            font.pixelSize: 18
            color: "#6f6f6f"
        }
    }

    Text {
        x: 50
        y: 80
        text: "Server Proxy"
        font.pixelSize: 16
    }

    Text {
        x: 50
        y: 115
        text: "Alamat"
        font.pixelSize: 12
    }
    SettingsField {
        id: addressField
        objectName: "addressField"
        y: 110
    }

    Text {
        x: 50
        y: 155
        text: "Port"
        font.pixelSize: 12
    }
    SettingsField {
        id: portField
        objectName: "portField"
        y: 150
        horizontalAlignment: TextInput.AlignRight
        inputMask: "00000"
    }

    Text {
        x: 50
        y: 199
        text: "Perlu Username"
        font.pixelSize: 12
    }
    CheckBox {
        id: securedBox
        objectName: "securedBox"
        x: 150
        y: 187
        text: checked ? "Ya" : "Tidak"
        font.pixelSize: 12
    }

    Text {
        x: 50
        y: 240
        visible: securedBox.checked
        text: "Username"
        font.pixelSize: 12
    }
    SettingsField {
        id: usernameField
        objectName: "usernameField"
        y: 235
        visible: securedBox.checked
    }

    Text {
        x: 50
        y: 280
        visible: securedBox.checked
        text: "Password"
        font.pixelSize: 12
    }
    SettingsField {
        id: passwordField
        objectName: "passwordField"
        y: 275
        visible: securedBox.checked
        echoMode: TextInput.Password
    }

    Text {
        x: 50
        y: 320
        visible: securedBox.checked
        text: "Konfirmasi"
        font.pixelSize: 12
    }
    SettingsField {
        id: confirmationField
        objectName: "confirmationField"
        y: 315
        visible: securedBox.checked
        echoMode: TextInput.Password
    }

    TextField {
        id: loadedPassword
        visible: false
    }
    TextField {
        id: loadedConfirmation
        visible: false
    }

    MessageDialog {
        id: saveDialog
        objectName: "saveDialog"
        icon: StandardIcon.Question
        title: "Konfirmasi"
        text: "Apakah anda yakin menyimpan semua perubahan?"
        standardButtons: StandardButton.Yes | StandardButton.No
    }

    MessageDialog {
        id: resetDialog
        objectName: "resetDialog"
        icon: StandardIcon.Question
        title: "Konfirmasi"
        text: "Apakah anda yakin membatalkan semua perubahan?"
        standardButtons: StandardButton.Yes | StandardButton.No
    }
}
