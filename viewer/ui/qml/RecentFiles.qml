import QtQuick 2.4
import QtQuick.Controls 1.4
import QtQuick.Controls.Styles 1.4
import qrv.kora.libraries 1.0

TableView {
    id: table

    property string searchText: ""
    property ListModel filesModel: ListModel {
    }
    // Rows the search leaves on screen.
    readonly property int shownCount: proxyModel.count

    signal clearFiles
    signal addRecentFile(string filename)
    signal openFile(string filename)
    signal syncFiles

    function populate() {
        filesModel.clear()
        var rows = mainWindow.getRecentFilesData()
        for (var i = 0; i < rows.length; ++i)
            filesModel.append(rows[i])
    }

    frameVisible: false
    sortIndicatorVisible: true

    model: SortFilterProxyModel {
        id: proxyModel
        objectName: "proxyModel"
        source: filesModel.count > 0 ? filesModel : null
        sortOrder: table.sortIndicatorOrder
        // The time column shows a text for reading and sorts by the time itself.
        sortRole: {
            if (filesModel.count === 0)
                return ""
            var role = table.getColumn(table.sortIndicatorColumn).role
            return role === "dateShown" ? "dateSort" : role
        }
        sortCaseSensitivity: Qt.CaseInsensitive
        filterCaseSensitivity: Qt.CaseInsensitive
        filterString: "*" + table.searchText + "*"
        filterSyntax: SortFilterProxyModel.Wildcard
    }

    // The size and the time keep the width their texts need, so that they are
    // never cut; the name takes the rest.
    TableViewColumn {
        role: "filename"
        title: "Nama"
        width: Math.max(150, table.viewport.width - 110 - 180)
    }
    TableViewColumn {
        role: "size"
        title: "Ukuran File"
        width: 110
    }
    TableViewColumn {
        role: "dateShown"
        title: "Waktu Buka Berkas"
        width: 180
    }

    style: TableViewStyle {
        backgroundColor: "#f0f0f0"
        alternateBackgroundColor: "#f0f0f0"

        headerDelegate: Rectangle {
            height: 40
            color: "#f0f0f0"
            Text {
                anchors.verticalCenter: parent.verticalCenter
                x: 10
                text: styleData.value
                font.pixelSize: 13
                font.bold: true
                color: "gray"
            }
        }

        rowDelegate: Rectangle {
            // The table fills its height with empty rows; only real ones are framed
            // and highlighted.
            readonly property bool real: styleData.row !== undefined && styleData.row >= 0
                                         && styleData.row < table.rowCount
            height: 30
            color: styleData.selected ? "red" : (real && rowHover.containsMouse ? "lightgray" : "transparent")
            border.color: "#C0C0C0"
            border.width: real ? 1 : 0
            MouseArea {
                id: rowHover
                anchors.fill: parent
                hoverEnabled: true
                acceptedButtons: Qt.NoButton
            }
        }

        itemDelegate: Item {
            Image {
                visible: styleData.column === 0
                x: 8
                anchors.verticalCenter: parent.verticalCenter
                width: 16
                height: 16
                sourceSize.width: 16
                sourceSize.height: 16
                source: "images/app-icon.svg"
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                x: styleData.column === 0 ? 32 : 10
                width: parent.width - x
                elide: Text.ElideRight
                // File names are shown as they are, never laid out as markup.
                textFormat: Text.PlainText
                text: styleData.value !== undefined ? styleData.value : ""
                color: styleData.textColor
            }
            MouseArea {
                anchors.fill: parent
                enabled: styleData.column === 0
                cursorShape: Qt.PointingHandCursor
                onClicked: {
                    table.selection.clear()
                    table.selection.select(styleData.row)
                    table.currentRow = styleData.row
                }
                // The stored path as it is: a path is opened exactly like a URL, and
                // needs no escaping.
                onDoubleClicked: table.openFile(styleData.value)
            }
        }
    }

    function openCurrent() {
        if (currentRow >= 0 && currentRow < rowCount)
            openFile(proxyModel.get(currentRow).filename)
    }

    Keys.onReturnPressed: openCurrent()
    Keys.onEnterPressed: openCurrent()

    Component.onCompleted: populate()
    onSyncFiles: populate()
    onClearFiles: {
        filesModel.clear()
        mainWindow.emptyRecentFile()
    }
    onAddRecentFile: {
        mainWindow.addRecentFile(filename)
        populate()
    }
}
