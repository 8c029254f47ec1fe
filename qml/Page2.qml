import QtQuick 2.7
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.3
import Quillor.Lists 1.0

// Opens a list file as a table, edits and deletes entries, and saves the table back.
FocusScope {
    id: root

    // Part of every page's root. This page keeps its records in jsonModel alone: a script
    // copy of a list would round long numbers and turn away what the model keeps.
    property var items: []
    property alias filePath: pathRow.filePath
    property int pixSize: Math.floor(height / 24 / 2)

    // Ends an open cell edit, which commits it, by taking the focus to the notice label.
    function finishEditing() {
        failureLabel.forceActiveFocus();
    }

    // The table changes only when the whole file is a list.
    function loadList() {
        finishEditing();
        if (!jsonModel.loadFile(pathRow.text)) {
            loadFailureLabel.show();
            return;
        }
        // The rows' cells exist only after the view has laid them out.
        Qt.callLater(fitColumns);
    }

    function saveList() {
        finishEditing();
        var text = jsonModel.toJson();
        if (text === "" || FileIO.save(pathRow.text, text) > 0)
            failureLabel.show();
    }

    // A column title shows one word a line, so that ten titles fit beside each other.
    function titleWidth(title) {
        var words = String(title).split(" ");
        var width = 0;
        for (var i = 0; i < words.length; ++i)
            width = Math.max(width, fontMetrics.advanceWidth(words[i]));
        return Math.ceil(width) + 16;
    }

    // Columns follow their contents. When together they are wider than the view, the
    // widest give way down to a common width, eliding their longest texts, so that every
    // column and the delete buttons stay in sight; titles and buttons stay whole.
    function fitColumns() {
        lolView.resizeColumnsToContents();
        var widths = [];
        var minimums = [];
        var excess = -lolView.viewport.width;
        for (var i = 0; i < lolView.columnCount; ++i) {
            var column = lolView.getColumn(i);
            widths.push(column.width);
            var title = titleWidth(column.title);
            minimums.push(column.role === "delete" ? column.width : Math.min(column.width, title));
            excess += column.width;
        }
        if (excess <= 0)
            return;
        // The largest common width that frees enough room.
        var low = 0;
        var high = Math.max.apply(null, widths);
        while (high - low > 1) {
            var cap = Math.floor((low + high) / 2);
            var freed = 0;
            for (i = 0; i < widths.length; ++i)
                freed += Math.max(0, widths[i] - Math.max(cap, minimums[i]));
            if (freed >= excess)
                low = cap;
            else
                high = cap;
        }
        for (i = 0; i < widths.length; ++i)
            lolView.getColumn(i).width = Math.min(widths[i], Math.max(low, minimums[i]));
    }

    function setCell(row, role, text) {
        if (row < 0 || row >= jsonModel.count)
            return;
        jsonModel.editCell(row, role, text);
    }

    function valueText(value) {
        return value === undefined || value === null ? "" : String(value);
    }

    function displayText(role, value) {
        return role === "step" ? ParticipantRules.shownStep(value) : valueText(value);
    }

    FontMetrics {
        id: fontMetrics
    }

    ParticipantListModel {
        id: jsonModel
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
            selectExisting: true
        }

        Button {
            objectName: "loadButton"
            Layout.alignment: Qt.AlignHCenter
            text: "Загрузить список"
            onClicked: root.loadList()
        }

        Button {
            objectName: "saveButton"
            Layout.alignment: Qt.AlignHCenter
            text: "Сохранить список"
            onClicked: root.saveList()
        }

        TableView {
            id: lolView
            objectName: "lolView"
            Layout.fillWidth: true
            Layout.fillHeight: true
            model: jsonModel
            selectionMode: SelectionMode.SingleSelection
            // Before the first load the titles alone set the widths.
            Component.onCompleted: Qt.callLater(root.fitColumns)

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

            headerDelegate: Rectangle {
                implicitWidth: root.titleWidth(styleData.value)
                height: Math.ceil(fontMetrics.height * 2) + 6
                color: styleData.pressed ? "#dddddd" : "#eeeeee"

                Text {
                    anchors.fill: parent
                    anchors.leftMargin: 2
                    anchors.rightMargin: 2
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                    text: String(styleData.value).replace(/ /g, "\n")
                    elide: Text.ElideRight
                }

                Rectangle {
                    anchors.right: parent.right
                    width: 1
                    height: parent.height
                    color: "#cccccc"
                }

                Rectangle {
                    anchors.bottom: parent.bottom
                    width: parent.width
                    height: 1
                    color: "#cccccc"
                }
            }

            // Rows tall enough for the delete button and the cell editor.
            rowDelegate: Rectangle {
                height: rowSizeProbe.implicitHeight + 2
                color: styleData.selected ? (lolView.activeFocus ? "#07c" : "#999")
                                          : styleData.alternate ? "white" : "#f5f5f5"
            }

            itemDelegate: Item {
                id: cell

                readonly property bool editable: styleData.role !== "step" &&
                                                 styleData.role !== "delete"
                readonly property bool deletion: styleData.role === "delete"
                property bool editionMode: false
                // The editor is made at the cell's first edit and kept.
                property bool editorMade: false

                // Every way out of the editor keeps its text; only Return and Enter leave
                // the focus to be placed, elsewhere it has already gone.
                function commit(sinkFocus) {
                    if (!editionMode)
                        return;
                    var text = editor.item.text;
                    editionMode = false;
                    root.setCell(styleData.row, styleData.role, text);
                    if (sinkFocus)
                        failureLabel.forceActiveFocus();
                }

                objectName: "cell:" + styleData.row + ":" + styleData.role
                implicitWidth: deletion ? deleteButton.implicitWidth + 8
                                        : cellText.implicitWidth + 16

                Text {
                    id: cellText
                    objectName: "cellText"
                    anchors.fill: parent
                    anchors.leftMargin: 8
                    anchors.rightMargin: 4
                    verticalAlignment: Text.AlignVCenter
                    visible: !cell.deletion && !cell.editionMode
                    text: root.displayText(styleData.role, styleData.value)
                    color: styleData.textColor
                    elide: styleData.elideMode
                }

                MouseArea {
                    anchors.fill: parent
                    onClicked: {
                        if (cell.editable) {
                            cell.editorMade = true;
                            editor.item.forceActiveFocus();
                        } else {
                            root.finishEditing();
                        }
                    }
                }

                // Cells make only the controls they use: a control in every cell makes
                // a table slow to show.
                Loader {
                    id: editor
                    anchors.fill: parent
                    active: cell.editable && cell.editorMade
                    visible: cell.editionMode
                    sourceComponent: TextField {
                        objectName: "editor"
                        text: root.valueText(styleData.value)
                        onActiveFocusChanged: {
                            if (activeFocus)
                                cell.editionMode = true;
                            else
                                cell.commit(false);
                        }
                        onAccepted: cell.commit(true)
                        // Tab would hand the focus to a delete button, where Space removes
                        // the row; it ends the edit like Return instead.
                        Keys.onTabPressed: cell.commit(true)
                        Keys.onBacktabPressed: cell.commit(true)
                        // The view would move its current row.
                        Keys.onUpPressed: event.accepted = true
                        Keys.onDownPressed: event.accepted = true
                    }
                }

                Loader {
                    id: deleteButton
                    anchors.centerIn: parent
                    active: cell.deletion
                    sourceComponent: Button {
                        objectName: "deleteButton"
                        text: "Удалить"
                        onClicked: {
                            // An edit still open in another row commits before the rows
                            // shift.
                            root.finishEditing();
                            jsonModel.remove(styleData.row);
                        }
                    }
                }
            }
        }
    }

    Button {
        id: rowSizeProbe
        visible: false
        text: "Удалить"
    }

    FailureNotice {
        id: failureLabel
        objectName: "failureLabel"
        font.pixelSize: root.pixSize * 4
    }

    FailureNotice {
        id: loadFailureLabel
        objectName: "loadFailureLabel"
        text: "Не удалось загрузить файл"
        detail: jsonModel.loadError
        font.pixelSize: root.pixSize * 4
    }
}
