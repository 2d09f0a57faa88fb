import QtQuick 2.4
import QtQuick.Controls 1.4
import QtQuick.Controls.Styles 1.4
import qrv.kora.libraries 1.0

TableView {
    id: table

    property string searchText: ""
    property ListModel filesModel: ListModel {
    }

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
        sortRole: filesModel.count > 0 ? table.getColumn(table.sortIndicatorColumn).role : ""
        sortCaseSensitivity: Qt.CaseInsensitive
        filterString: "*" + table.searchText + "*"
        filterSyntax: SortFilterProxyModel.Wildcard
    }

    TableViewColumn {
        role: "filename"
        title: "Nama"
        width: table.width * 0.75
    }
    TableViewColumn {
        role: "size"
        title: "Ukuran File"
        width: table.width * 0.10
    }
    TableViewColumn {
        role: "dateViewed"
        title: "Waktu Buka Berkas"
        width: table.width * 0.15
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
                source: "images/app-icon.png"
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                x: styleData.column === 0 ? 32 : 10
                width: parent.width - x
                elide: Text.ElideRight
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
