import QtQuick 2.7
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.3
import Quillor.Lists 1.0
import "controls"
import "editing"

// Opens a list file as a table, edits and deletes entries, and saves the table back.
FocusScope {
    id: root

    // Part of every page's root. This page keeps its records in jsonModel alone: a script
    // copy of a list would round long numbers and turn away what the model keeps.
    property var items: []
    property alias filePath: pathRow.filePath
    property int pixSize: Theme.sizeUnit(height)

    // Ends an open cell edit, which commits it, by taking the focus to the notice label.
    function finishEditing() {
        failureLabel.forceActiveFocus();
    }

    function showLoadFailure(text) {
        loadFailureLabel.text = text;
        loadFailureLabel.show();
    }

    // The table changes only when the whole text is a list.
    function loadList() {
        finishEditing();
        var text = FileIO.readAll(pathRow.text);
        if (text === "" || !jsonModel.load(text)) {
            showLoadFailure("Не удалось загрузить файл");
            return;
        }
        // The rows' cells exist only after the view has laid them out.
        Qt.callLater(lolView.fitColumns);
    }

    function saveList() {
        finishEditing();
        var text = jsonModel.toJson();
        if (text === "" || FileIO.save(pathRow.text, text) > 0)
            failureLabel.show();
    }

    // Rows copied from a spreadsheet; text fields keep Ctrl+V for themselves.
    Keys.onPressed: {
        if (event.matches(StandardKey.Paste) && !importPreview.visible) {
            event.accepted = true;
            importPreview.openClipboard();
        }
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

        RowLayout {
            Layout.alignment: Qt.AlignHCenter

            ExportRow {
                objectName: "exportRow"
                model: jsonModel
                listPath: pathRow.text
                onStarted: root.finishEditing()
                onFailed: failureLabel.show()
            }

            ImportButton {
                onFileChosen: {
                    root.finishEditing();
                    importPreview.openFile(fileUrl);
                }
            }
        }

        ParticipantTable {
            id: lolView
            Layout.fillWidth: true
            Layout.fillHeight: true
            model: jsonModel
            focusSink: failureLabel
        }
    }

    FailureNotice {
        id: failureLabel
        objectName: "failureLabel"
        font.pixelSize: root.pixSize * 4
    }

    ImportPreview {
        id: importPreview
        objectName: "importPreview"
        anchors.fill: parent
        pixSize: root.pixSize
        listModel: jsonModel
        onFailed: root.showLoadFailure(reason)
        onClosed: {
            root.finishEditing();
            Qt.callLater(lolView.fitColumns);
        }
    }

    FailureNotice {
        id: loadFailureLabel
        objectName: "loadFailureLabel"
        text: "Не удалось загрузить файл"
        // Import failures give a reason on a second line, which may be long.
        width: root.width
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
        font.pixelSize: root.pixSize * 4
    }
}
