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

    // The table changes only when the whole text is a list.
    function loadList() {
        finishEditing();
        var text = FileIO.readAll(pathRow.text);
        if (text === "" || !jsonModel.load(text)) {
            loadFailureLabel.show();
            return;
        }
        recovery.markClean(pathRow.text);
        // The rows' cells exist only after the view has laid them out.
        Qt.callLater(lolView.fitColumns);
    }

    function saveList() {
        finishEditing();
        var text = jsonModel.toJson();
        if (text === "" || FileIO.save(pathRow.text, text) > 0)
            failureLabel.show();
        else
            recovery.markClean(pathRow.text);
    }

    ParticipantListModel {
        id: jsonModel
        objectName: "jsonModel"
    }

    PageRecovery {
        id: recovery
        objectName: "recovery"
        store: RecoveryStore
        model: jsonModel
        page: PageRecovery.Editing
        onWriteFailed: recoveryFailureLabel.show()
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: root.pixSize

        RecoveryBar {
            objectName: "recoveryBar"
            Layout.fillWidth: true
            recovery: recovery
            focusAfter: pathRow.field
            // An open cell edit goes into the table it was made in, before that is replaced.
            onRestoring: root.finishEditing()
            onRestored: {
                pathRow.filePath = recovery.listPath;
                Qt.callLater(lolView.fitColumns);
            }
        }

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

            UnsavedMark {
                objectName: "unsavedMark"
                visible: recovery.unsaved
            }
        }

        ExportRow {
            objectName: "exportRow"
            Layout.alignment: Qt.AlignHCenter
            model: jsonModel
            listPath: pathRow.text
            onStarted: root.finishEditing()
            onFailed: failureLabel.show()
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

    FailureNotice {
        id: loadFailureLabel
        objectName: "loadFailureLabel"
        text: "Не удалось загрузить файл"
        font.pixelSize: root.pixSize * 4
    }

    FailureNotice {
        id: recoveryFailureLabel
        objectName: "recoveryFailureLabel"
        text: "Не удалось записать файл для восстановления"
        font.pixelSize: root.pixSize * 2
    }
}
