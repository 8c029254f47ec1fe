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
        notices.failureLabel.forceActiveFocus();
    }

    // An edit still open commits first, so that it is the step taken back. Keys that come
    // from the header leave the focus there.
    function historyStep(back) {
        if (lolView.activeFocus && !lolView.headerFocused)
            finishEditing();
        return back ? listHistory.undo() : listHistory.redo();
    }

    // A list named on the command line, loaded as the load button would.
    function openList(path) {
        pathRow.filePath = path;
        loadList();
    }

    // The table changes only when the whole file is a list.
    function loadList() {
        finishEditing();
        lolView.showRowsFirst();
        if (!page.load(pathRow.text)) {
            notices.loadFailureLabel.show(jsonModel.loadError);
            return;
        }
        lolView.fitColumns();
    }

    // A file changed by someone else since it was loaded is not written over unasked:
    // the changed-file bar offers the choice.
    function saveList(overwrite) {
        finishEditing();
        var result = overwrite === true ? page.overwrite(pathRow.text) : page.save(pathRow.text);
        if (result > 0 && result !== ListFileWatch.ChangedOnDisk)
            notices.failureLabel.show();
    }

    EditingPage {
        id: page
        list: jsonModel
        table: tableModel
        history: listHistory
        recovery: recovery
        currentRow: lolView.cursor.shown ? lolView.cursor.row : -1
    }

    ParticipantListModel {
        id: jsonModel
        objectName: "jsonModel"
    }

    // Loads, edits, deletes and sorts, each one step; a save leaves it as it is.
    ListHistory {
        id: listHistory
        objectName: "history"
        list: jsonModel
    }

    // What the table shows: the rows that hold the find text.
    ListFilterModel {
        id: tableModel
        objectName: "tableModel"
        list: jsonModel
        filterText: findBar.text
    }

    // Ctrl+V takes rows copied from a spreadsheet; text fields keep it for themselves.
    PageShortcuts {
        enabled: root.visible && !overwriteQuestion.visible
        findEnabled: true
        pasteEnabled: !importPreview.visible
        onUndo: root.historyStep(true)
        onRedo: root.historyStep(false)
        onFind: findBar.focusFind()
        onPaste: importPreview.openClipboard()
    }

    PageRecovery {
        id: recovery
        objectName: "recovery"
        store: RecoveryStore
        model: jsonModel
        history: listHistory
        page: PageRecovery.Editing
        onWriteFailed: notices.recoveryFailureLabel.show()
    }

    // Taking a load back brings back the path of the list before it; a load itself leaves
    // the field as typed.
    function followListPath() {
        if (listHistory.listPath !== "" && listHistory.listPath !== pathRow.text)
            pathRow.filePath = listHistory.listPath;
    }

    Component.onCompleted: listHistory.listPathChanged.connect(followListPath)

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

        ChangedFileBar {
            Layout.fillWidth: true
            watch: page.fileWatch
            preview: importPreview
            focusAfter: saveButton
            onSave: root.saveList(overwrite)
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
            Accessible.description: "Открыть файл по пути выше в таблице"
            onClicked: root.loadList()
        }

        Button {
            id: saveButton
            objectName: "saveButton"
            Layout.alignment: Qt.AlignHCenter
            text: "Сохранить список"
            Accessible.description: "Записать таблицу в файл по пути выше"
            onClicked: root.saveList()

            UnsavedMark {
                objectName: "unsavedMark"
                visible: recovery.unsaved
            }
        }

        RowLayout {
            Layout.alignment: Qt.AlignHCenter

            ExportRow {
                objectName: "exportRow"
                model: jsonModel
                listPath: pathRow.text
                loadedPath: listHistory.listPath
                question: overwriteQuestion
                onStarted: root.finishEditing()
                onFailed: notices.failureLabel.show(reason)
                onReplaced: notices.showExportNotice(notice)
            }

            ImportButton {
                onFileChosen: {
                    root.finishEditing();
                    importPreview.openFile(fileUrl);
                }
            }
        }

        FindBar {
            id: findBar
            Layout.fillWidth: true
            canUndo: listHistory.canUndo
            canRedo: listHistory.canRedo
            onUndoClicked: root.historyStep(true)
            onRedoClicked: root.historyStep(false)
            // The find field leaves Down alone once its cursor is at the end.
            Keys.onDownPressed: lolView.enter()
        }

        ParticipantTable {
            id: lolView
            Layout.fillWidth: true
            Layout.fillHeight: true
            model: tableModel
            history: listHistory
            focusSink: notices.failureLabel
            onUndoRequested: root.historyStep(true)
            onRedoRequested: root.historyStep(false)
        }

        Label {
            objectName: "statusLine"
            Layout.leftMargin: root.pixSize / 2
            Layout.bottomMargin: root.pixSize / 2
            color: Theme.statusText
            text: page.statusText
            Accessible.role: Accessible.StatusBar
        }
    }

    EditingNotices {
        id: notices
        anchors.fill: parent
        pixSize: root.pixSize
        keyTarget: lolView.cursor
    }

    ImportPreview {
        id: importPreview
        objectName: "importPreview"
        anchors.fill: parent
        pixSize: root.pixSize
        listModel: jsonModel
        onFailed: notices.loadFailureLabel.show(reason)
        onClosed: {
            root.finishEditing();
            Qt.callLater(lolView.fitColumns);
        }
    }

    OverwriteQuestion { id: overwriteQuestion }
}
