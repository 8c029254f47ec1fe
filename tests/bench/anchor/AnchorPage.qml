import QtQuick 2.7
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.3
import Quillor.Lists 1.0
import "qrc:/qml/controls"
import "qrc:/qml/editing"

// The editing page as the script engine would build it: the file's text through
// JSON.parse into a ListModel, behind the same table and cells as the program's page, the
// columns fitted by the table's own walk over its cells.
FocusScope {
    id: root

    property alias filePath: pathRow.filePath
    property int pixSize: Theme.sizeUnit(height)

    function loadList() {
        var records = JSON.parse(FileIO.readAll(pathRow.text));
        listModel.clear();
        for (var i = 0; i < records.length; ++i)
            listModel.append(records[i]);
        lolView.positionViewAtRow(0, ListView.Beginning);
        lolView.resizeColumnsToContents();
    }

    ListModel {
        id: listModel
        objectName: "jsonModel"
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: root.pixSize

        Label {
            Layout.alignment: Qt.AlignHCenter
            text: "Путь к файлу: "
        }

        FilePathRow {
            id: pathRow
            Layout.fillWidth: true
        }

        Button {
            objectName: "loadButton"
            Layout.alignment: Qt.AlignHCenter
            text: "Загрузить список"
            onClicked: root.loadList()
        }

        Button {
            Layout.alignment: Qt.AlignHCenter
            text: "Сохранить список"
        }

        // Where the program's page has its export row and find field.
        Item {
            Layout.fillWidth: true
            Layout.preferredHeight: 2 * exportRowProbe.implicitHeight + root.pixSize
        }

        TableView {
            id: lolView
            objectName: "lolView"

            Layout.fillWidth: true
            Layout.fillHeight: true
            model: listModel

            TableViewColumn { role: "name"; title: "Имя" }
            TableViewColumn { role: "birthDate"; title: "Дата Рождения" }
            TableViewColumn { role: "group"; title: "Группа" }
            TableViewColumn { role: "organization"; title: "Организация" }
            TableViewColumn { role: "gtoUuid"; title: "ИД ГТО" }
            TableViewColumn { role: "sex"; title: "Пол" }
            TableViewColumn { role: "step"; title: "Ступень" }
            TableViewColumn { role: "pectoralNumber"; title: "Нагрудный Номер" }
            TableViewColumn { role: "athleticRank"; title: "Спортивный Разряд" }
            TableViewColumn { role: "delete"; title: "Удаление" }

            rowDelegate: Rectangle {
                height: exportRowProbe.implicitHeight + 2
                color: styleData.alternate ? Theme.row : Theme.rowAlternate
            }

            itemDelegate: TableCell {
                host: cellHost
                row: styleData.row
                column: styleData.column
                role: styleData.role
                value: styleData.value
                textColor: styleData.textColor
                elideMode: styleData.elideMode
            }

            CellHost {
                id: cellHost
                fitter: ColumnFitter {}
                cursor: TableCursor {
                    view: lolView
                }
                deleteButtonComponent: DeleteButton {}
            }
        }
    }

    Button {
        id: exportRowProbe
        visible: false
        text: "Удалить"
    }
}
