import QtQuick 2.7
import QtTest 1.1
import Quillor.Lists 1.0
import "../../../qml"
import ".."

// The export row on the editing page, driven by keyboard and mouse. The files' contents
// are read back by their own readers in the host tests; here only their kind is checked.
Item {
    id: container
    width: 1400
    height: 740

    Component {
        id: pageComponent
        Page2 {
            anchors.fill: parent
        }
    }

    PageTestCase {
        name: "ExportRow"
        when: windowShown

        readonly property string listText: '[{"group":"5А","isGto":false,' +
            '"name":"Иванова Мария","organization":"Школа 5"}]'
        property string listPath: testDir + "/Школа 5.json"

        function init() {
            page = createTemporaryObject(pageComponent, container);
            waitForRendering(page);
            compare(FileIO.save(listPath, listText), 0);
            page.filePath = listPath;
            mouseClick(item("loadButton"));
            tryCompare(item("lolView"), "rowCount", 1);
            waitForRendering(item("lolView"));
        }

        function openedDialog() {
            tryVerify(function () { return findChild(page, "exportDialog") !== null; });
            var dialog = findChild(page, "exportDialog");
            tryCompare(dialog, "visible", true);
            compare(dialog.title, "Экспорт списка");
            compare(dialog.selectExisting, false);
            return dialog;
        }

        // What the dialog's own Save does with the name in its path field.
        function choose(dialog, path) {
            dialog.clearSelection();
            verify(dialog.addSelection("file://" + path));
            dialog.accept();
        }

        function test_keyboardExportsEachFormat_data() {
            return [
                { tag: "excel", tabs: 1, key: Qt.Key_Return, button: "excelExportButton",
                  text: "Экспорт в Excel…", file: "Школа 5.xlsx", start: "PK" },
                { tag: "csv", tabs: 2, key: Qt.Key_Enter, button: "csvExportButton",
                  text: "Экспорт в CSV…", file: "Школа 5.csv", start: "№;Имя;" },
                { tag: "pdf", tabs: 3, key: Qt.Key_Return, button: "pdfExportButton",
                  text: "Печать в PDF…", file: "Школа 5.pdf", start: "%PDF" }
            ];
        }

        function test_keyboardExportsEachFormat(data) {
            var button = item(data.button);
            compare(button.text, data.text);
            item("saveButton").forceActiveFocus();
            for (var i = 0; i < data.tabs; ++i)
                keyClick(Qt.Key_Tab);
            verify(button.activeFocus, data.button + " not reached by Tab");
            keyClick(data.key);

            var dialog = openedDialog();
            var path = testDir + "/" + data.file;
            compare(String(dialog.folder), "file://" + path);
            choose(dialog, path);
            compare(FileIO.readAll(path).indexOf(data.start), 0);
            verify(button.activeFocus, "focus left the button");
            compare(FileIO.readAll(listPath), listText + "\n");
            compare(item("failureLabel").visible, false);
        }

        function test_checkBoxFollowsTheButtons() {
            var box = item("newPagePerOrganizationCheckBox");
            compare(box.text, "Каждая организация с новой страницы");
            compare(box.checked, false);
            item("pdfExportButton").forceActiveFocus();
            keyClick(Qt.Key_Tab);
            verify(box.activeFocus);
            keyClick(Qt.Key_Space);
            compare(box.checked, true);
            keyClick(Qt.Key_Tab);
            verify(item("importButton").activeFocus, "the import button does not follow the row");
            keyClick(Qt.Key_Tab);
            verify(item("findField").activeFocus, "the find field does not follow the row");
            keyClick(Qt.Key_Tab);
            verify(item("lolView").activeFocus, "the table does not follow the find field");
            // The titles are one stop, whose arrows pick the title to sort by; in the table
            // Tab moves the current cell, Ctrl+Tab leaves.
            keyClick(Qt.Key_Tab, Qt.ControlModifier);
            verify(item("header:name").activeFocus, "the titles do not follow the table");
        }

        function test_openEditIsCommittedFirst() {
            tryVerify(function () { return findChild(page, "cell:0:name") !== null; });
            mouseClick(findChild(page, "cell:0:name"));
            var editor = findChild(findChild(page, "cell:0:name"), "editor");
            verify(editor.activeFocus);
            keyClick(Qt.Key_A, Qt.ControlModifier);
            keyClick(Qt.Key_X);
            mouseClick(item("csvExportButton"));
            verify(!editor.activeFocus);

            var path = testDir + "/edited.csv";
            choose(openedDialog(), path);
            verify(FileIO.readAll(path).indexOf("\r\n1;x;") > 0, FileIO.readAll(path));
        }

        function test_failureShowsTheNotice() {
            mouseClick(item("csvExportButton"));
            choose(openedDialog(), testDir + "/missing/list.csv");
            compare(item("failureLabel").visible, true);
        }

        // A spreadsheet written with characters it cannot hold says in how many cells they
        // were replaced; a CSV file, which holds them, says nothing.
        function test_replacedCellsNotice() {
            compare(FileIO.save(listPath, '[{"name":"a\\u0001b","group":"\\uffff"},' +
                                          '{"name":"c\\u0000"}]'), 0);
            mouseClick(item("loadButton"));
            tryCompare(item("lolView"), "rowCount", 2);
            var row = item("exportRow");
            row.exportTo(ListExporter.Excel, "file://" + testDir + "/marked.xlsx");
            var notice = item("exportNotice");
            verify(notice.visible && notice.opacity > 0);
            compare(notice.text,
                    "Знаки, которых не может быть в Excel, заменены на «\uFFFD» в ячейках: 3");
            notice.visible = false;
            row.exportTo(ListExporter.Csv, "file://" + testDir + "/marked.csv");
            verify(!notice.visible);
        }

        // Another list in the dialog's way: nothing is written before the answer, Return and
        // Escape keep the file, and only "Заменить" replaces it.
        function test_existingFileIsReplacedOnlyWhenAsked() {
            var other = testDir + "/Другой список.json";
            var otherText = '[{"name":"А"},{"name":"Б"}]';
            compare(FileIO.save(other, otherText), 0);
            var button = item("csvExportButton");
            var question = item("overwriteQuestion");
            var keys = [Qt.Key_Return, Qt.Key_Escape, Qt.Key_Tab];
            verify(item("history").remove(0));
            for (var i = 0; i < keys.length; ++i) {
                // As the dialog's "Save" does; the dialog's own window would take the test
                // window's focus with it.
                button.forceActiveFocus();
                item("exportRow").exportTo(1, "file://" + other);
                compare(question.visible, true);
                compare(item("overwriteQuestionText").text,
                        "Файл «Другой список.json» уже существует. Заменить его?\n" +
                        "Это список участников: 2 записи.");
                verify(item("replaceCancelButton").activeFocus);
                compare(FileIO.readAll(other), otherText + "\n");
                // The page's keys wait too: Ctrl+Z does not bring the row back meanwhile.
                keyClick(Qt.Key_Z, Qt.ControlModifier);
                compare(item("jsonModel").count, 0);
                compare(question.visible, true);
                keyClick(keys[i]);
                if (keys[i] === Qt.Key_Tab) {
                    verify(item("replaceButton").activeFocus);
                    keyClick(Qt.Key_Return);
                }
                compare(question.visible, false);
                verify(button.activeFocus, "the focus did not come back");
            }
            compare(FileIO.readAll(other).indexOf("№;Имя;"), 0);
            compare(FileIO.readAll(listPath), listText + "\n");
        }

        function test_listItselfIsRefusedWithTheCause() {
            mouseClick(item("csvExportButton"));
            choose(openedDialog(), testDir + "/./" + "Школа 5.json");
            compare(item("overwriteQuestion").visible, false);
            compare(item("failureLabel").visible, true);
            compare(findChild(item("failureLabel"), "detail").text, "Это файл самого списка");
            compare(FileIO.readAll(listPath), listText + "\n");
        }
    }
}
