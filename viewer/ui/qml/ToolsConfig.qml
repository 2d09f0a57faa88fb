import QtQuick 2.4

ToolsConfigForm {
    id: page

    signal viewChanged(int index)

    function load() {
        addressField.text = utils.getSettingValue("proxy/ip.address")
        portField.text = utils.getSettingValue("proxy/port")
        securedBox.checked = utils.getSettingValue("proxy/is.secured") === "true"
        if (securedBox.checked) {
            usernameField.text = utils.decryptValue(utils.getSettingValue("proxy/username"))
            passwordField.text = utils.decryptValue(utils.getSettingValue("proxy/password"))
            confirmationField.text = passwordField.text
            loadedPassword.text = passwordField.text
            loadedConfirmation.text = passwordField.text
        }
        addressField.forceActiveFocus()
    }

    function save() {
        utils.setSettingValue("proxy/ip.address", addressField.text)
        utils.setSettingValue("proxy/port", portField.text)
        if (securedBox.checked) {
            utils.setSettingValue("proxy/is.secured", "true")
            utils.setSettingValue("proxy/username", utils.encryptValue(usernameField.text))
            utils.setSettingValue("proxy/password", utils.encryptValue(passwordField.text))
        } else {
            utils.setSettingValue("proxy/is.secured", "false")
            utils.setSettingValue("proxy/username", "")
            utils.setSettingValue("proxy/password", "")
        }
        viewChanged(0)
    }

    // The confirmation frame only judges the passwords once the user has
    // changed something: an untouched loaded password shows the plain frame.
    confirmationField.frameColor: {
        var untouched = passwordField.text === ""
                || (passwordField.text === loadedPassword.text
                    && confirmationField.text === loadedConfirmation.text)
        if (untouched)
            return confirmationField.activeFocus ? "lightblue" : "lightgray"
        return passwordField.text === confirmationField.text ? "green" : "red"
    }

    confirmationField.onActiveFocusChanged: {
        if (confirmationField.activeFocus)
            confirmationField.selectAll()
    }

    securedBox.onCheckedChanged: {
        usernameField.text = ""
        passwordField.text = ""
        confirmationField.text = ""
        loadedPassword.text = ""
        loadedConfirmation.text = ""
    }

    titleBar.backButton.onClicked: viewChanged(0)
    saveButton.onClicked: saveDialog.open()
    resetButton.onClicked: resetDialog.open()
    saveDialog.onYes: save()
    resetDialog.onYes: load()

    Keys.onEscapePressed: viewChanged(0)

    Component.onCompleted: load()
}
