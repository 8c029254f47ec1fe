import QtQuick 2.7
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.3
import Quillor.Lists 1.0
import "../controls"

// An import waiting over the editing page: a meaning per source column, the first rows,
// the counts and the problems. The list changes only by "Добавить к списку" or
// "Заменить список"; "Отмена" and Escape leave it as it was.
FocusScope {
    id: preview

    // The list the records go into; its history takes an import as one step.
    property QtObject listModel: null
    property int pixSize: 10

    // The import as the page's file watch needs it after a merge.
    readonly property alias importer: listImport

    // Opening failed; the list is untouched.
    signal failed(string reason)
    // The records went into the list: "add" or "replace".
    signal taken(string action)
    // The preview has gone, whichever way.
    signal closed()

    // A file by path or URL, read on another thread while a progress bar shows; rows as
    // text open at once, true when the preview opens.
    function openFile(fileUrl) {
        listImport.startFile(String(fileUrl));
        preview.forceActiveFocus();
        readingView.takeFocus();
    }
    function openText(text) {
        return show(listImport.openText(text));
    }
    function openClipboard() {
        return openText(Clipboard.text());
    }

    function show(opened) {
        if (!opened) {
            failed(listImport.failure);
            return false;
        }
        skipBox.checked = listImport.skipExactRepeats;
        preview.forceActiveFocus();
        // The columns are laid out once the new headers reach the repeater.
        Qt.callLater(focusFirst);
        return true;
    }

    function focusFirst() {
        if (listImport.isList) {
            skipBox.forceActiveFocus();
            return;
        }
        var first = columnsRepeater.itemAt(0);
        if (first)
            first.meaningBox.forceActiveFocus();
    }

    function finish(action) {
        if (action === "cancel") {
            listImport.cancel();
        } else {
            if (action === "add")
                listImport.addTo(listModel);
            else
                listImport.replaceIn(listModel);
            taken(action);
        }
        closed();
    }

    // Keeps the column with the focus in sight.
    function reveal(item) {
        var flick = columnsView.flickableItem;
        var x = item.mapToItem(columnsRow, 0, 0).x;
        if (x < flick.contentX)
            flick.contentX = x;
        else if (x + item.width > flick.contentX + columnsView.viewport.width)
            flick.contentX = x + item.width - columnsView.viewport.width;
    }

    visible: listImport.ready || listImport.reading
    z: 2
    Accessible.role: Accessible.Dialog
    Accessible.name: "Импорт списка"
    Accessible.description: listImport.countsText
    Keys.onEscapePressed: finish("cancel")

    ListImport {
        id: listImport
        list: preview.listModel
        onReadFinished: preview.show(opened)
    }

    // The table below takes no clicks or wheel turns while the preview is open.
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
        onWheel: wheel.accepted = true
    }

    Rectangle {
        anchors.fill: parent
        color: Theme.background
        border.color: Theme.frame
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: preview.pixSize
        spacing: preview.pixSize
        visible: listImport.ready

        Label {
            text: "Импорт: " + listImport.source
            font.pixelSize: preview.pixSize * 2
        }

        EncodingChoice {
            objectName: "importEncoding"
            visible: listImport.encoding !== ""
            encoding: listImport.encoding
            encodings: listImport.encodings
            onChosen: {
                listImport.rereadAs(encoding);
                readingView.takeFocus();
            }
        }

        Label {
            objectName: "importCounts"
            text: listImport.countsText
        }

        CheckBox {
            id: skipBox
            objectName: "skipExactRepeatsCheckBox"
            visible: listImport.isList
            text: "Пропускать точные повторы"
            Accessible.name: text
            Accessible.description: "Записи, которые уже есть в списке слово в слово, не добавляются"
            checked: listImport.skipExactRepeats
            onClicked: listImport.skipExactRepeats = checked
        }

        Label {
            text: "Что в каждом столбце:"
        }

        ScrollView {
            id: columnsView
            Layout.fillWidth: true
            Layout.preferredHeight: columnsRow.height + preview.pixSize * 2
            verticalScrollBarPolicy: Qt.ScrollBarAlwaysOff

            Row {
                id: columnsRow
                spacing: preview.pixSize

                Repeater {
                    id: columnsRepeater
                    model: listImport.headers

                    ImportColumn {
                        importer: listImport
                        column: index
                        header: modelData
                        backtabTarget: index === 0 ? cancelButton : null
                        onMeaningFocused: preview.reveal(this)
                    }
                }
            }
        }

        Label {
            text: listImport.isList ? (listImport.repeatCount > 0 ? "Повторы:" : "Повторов нет")
                  : listImport.problemCount > 0 ? "Замечания (строки войдут как есть):"
                                                : "Замечаний нет"
        }

        TextArea {
            objectName: "importProblems"
            Layout.fillWidth: true
            Layout.fillHeight: true
            readOnly: true
            tabChangesFocus: true
            text: listImport.problems.join("\n")
            Accessible.name: listImport.isList ? "Повторы" : "Замечания"
            Accessible.description: listImport.problems.length > 0
                                    ? listImport.problems.length + ": " + listImport.problems.join("; ")
                                    : "Нет"
        }

        RowLayout {
            spacing: preview.pixSize

            KeyButton {
                objectName: "importAddButton"
                // Nothing to add, and a replace would only empty the list.
                enabled: listImport.rowCount > 0
                text: "Добавить к списку"
                Accessible.name: text
                Accessible.description: "Добавляет строки файла к записям таблицы"
                onClicked: preview.finish("add")
            }

            KeyButton {
                objectName: "importReplaceButton"
                enabled: listImport.rowCount > 0
                text: "Заменить список"
                Accessible.name: text
                Accessible.description: "Заменяет записи таблицы строками файла"
                onClicked: preview.finish("replace")
            }

            KeyButton {
                id: cancelButton
                objectName: "importCancelButton"
                text: "Отмена"
                Accessible.name: "Отменить импорт"
                Accessible.description: "Список остаётся как был"
                onClicked: preview.finish("cancel")
                // The focus goes round inside the preview.
                Keys.onTabPressed: preview.focusFirst()
            }
        }
    }

    ImportProgress {
        id: readingView
        objectName: "importProgress"
        anchors.fill: parent
        visible: listImport.reading
        pixSize: preview.pixSize
        value: listImport.progress
        onCancelled: {
            listImport.cancelReading();
            if (listImport.ready)
                preview.focusFirst();
            else
                preview.closed();
        }
    }
}
