import QtQuick 2.7
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.3
import Quillor.Lists 1.0
import "../controls"

// The export buttons of the editing page: what the table holds as a spreadsheet, a CSV
// file or a printable PDF, each into a file chosen in a save dialog.
RowLayout {
    id: exportRow

    property ParticipantListModel model: null
    // The list file's path: it names the suggested files and titles the PDF.
    property string listPath: ""
    // The file the rows were loaded from, which the path field may no longer name; never
    // written either.
    property string loadedPath: ""
    // Asks before an export replaces a file.
    property OverwriteQuestion question: null

    // Emitted before the dialog opens, so that the page ends an open cell edit.
    signal started()
    // An export could not be written; `reason` is empty or the cause for the notice.
    signal failed(string reason)
    // A spreadsheet was written with characters it cannot hold replaced: the notice.
    signal replaced(string notice)

    function nameFilters(format) {
        var own = format === ListExporter.Excel ? "Книга Excel (*.xlsx)"
                : format === ListExporter.Csv ? "Текст CSV (*.csv)" : "Документ PDF (*.pdf)";
        return [own, "Все файлы (*)"];
    }

    function begin(format, button) {
        var keyboard = button.activeFocus;
        started();
        // The page's way of ending an edit takes the focus; a keyboard user keeps it here.
        if (keyboard)
            button.forceActiveFocus();
        if (!dialogLoader.item) {
            dialogLoader.format = format;
            dialogLoader.active = true;
            return;
        }
        openDialog(dialogLoader.item, format);
    }

    // The dialog's path field shows the folder it opens in: a file's URL there suggests
    // that file's name.
    function openDialog(dialog, format) {
        dialog.format = format;
        dialog.nameFilters = nameFilters(format);
        dialog.folder = ListExporter.suggestedUrl(listPath, format);
        dialog.openOver(exportRow);
    }

    // Nothing is written before the question about a file already there is answered.
    function exportTo(format, url) {
        var target = ListExporter.withSuffix(url, format);
        var text = saveTarget.question(String(target), [listPath, loadedPath]);
        if (text !== "" && question) {
            question.ask(text, function() { write(format, target); });
            return -1;
        }
        return write(format, target);
    }

    function write(format, target) {
        var result = ListExporter.save(model, format, target, listPath, newPageCheckBox.checked,
                                         loadedPath);
        if (result > 0)
            failed(ListExporter.failureText(result));
        else if (format === ListExporter.Excel && ListExporter.replacedCells > 0)
            replaced(ListExporter.replacedText(ListExporter.replacedCells));
        return result;
    }

    SaveTarget {
        id: saveTarget
    }

    Repeater {
        model: [
            { name: "excelExportButton", text: "Экспорт в Excel…", format: ListExporter.Excel,
              description: "Сохраняет таблицу книгой Excel" },
            { name: "csvExportButton", text: "Экспорт в CSV…", format: ListExporter.Csv,
              description: "Сохраняет таблицу файлом CSV" },
            { name: "pdfExportButton", text: "Печать в PDF…", format: ListExporter.Pdf,
              description: "Сохраняет таблицу для печати в PDF" }
        ]

        KeyButton {
            id: exportButton
            objectName: modelData.name
            text: modelData.text
            Accessible.name: modelData.text
            Accessible.description: modelData.description
            onClicked: exportRow.begin(modelData.format, exportButton)
        }
    }

    CheckBox {
        id: newPageCheckBox
        objectName: "newPagePerOrganizationCheckBox"
        text: "Каждая организация с новой страницы"
        Accessible.name: text
        Accessible.description: "Для печати в PDF"
    }

    Loader {
        id: dialogLoader

        property int format: 0

        active: false
        source: "ExportDialog.qml"
        onLoaded: {
            item.accepted.connect(function() {
                exportRow.exportTo(item.format, item.fileUrl);
            });
            exportRow.openDialog(item, format);
        }
    }
}
