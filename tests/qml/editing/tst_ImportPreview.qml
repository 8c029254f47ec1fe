import QtQuick 2.7
import QtTest 1.1
import QtQuick.Window 2.2
import "../../../qml"
import ".."

// Import on the editing page by keyboard: Ctrl+V and a file, the guessed meanings, a
// meaning changed, and the list left alone until "Добавить к списку" or "Заменить список".
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

    // Puts text on the clipboard as any program would.
    TextEdit {
        id: clipboardWriter
        visible: false
    }

    PageTestCase {
        name: "ImportPreview"
        when: windowShown

        readonly property string before: '[{"group":"1А","isGto":false,"name":"Было",' +
                                         '"organization":"Клуб"}]'
        readonly property string rows: "ФИО\tКласс\tКлуб\nИванов Иван\t5А\tСтарт\n" +
                                       "Петрова Анна\t5Б\t\n"

        function init() {
            page = createTemporaryObject(pageComponent, container);
            waitForRendering(page);
            activateAgain(page);
            page.filePath = testDir + "/before.json";
            compare(FileIO.save(page.filePath, before), 0);
            mouseClick(item("loadButton"));
            compare(item("jsonModel").count, 1);
        }

        function paste(text) {
            clipboardWriter.text = text;
            clipboardWriter.selectAll();
            clipboardWriter.copy();
            page.finishEditing();
            keyClick(Qt.Key_V, Qt.ControlModifier);
        }

        // Tab until the item has the focus: every control of the preview is reachable.
        function tabTo(objectName) {
            var target = item(objectName);
            for (var i = 0; i < 12 && !target.activeFocus; ++i)
                keyClick(Qt.Key_Tab);
            verify(target.activeFocus, "Tab does not reach " + objectName);
        }

        function test_paste_data() {
            var added = '{"group":"5А","isGto":false,"name":"Иванов Иван",' +
                        '"organization":"Старт"},{"group":"5Б","isGto":false,' +
                        '"name":"Петрова Анна","organization":""}';
            return [
                { tag: "add", button: "importAddButton", key: Qt.Key_Return,
                  list: before.replace("}]", "},") + added + "]" },
                { tag: "replace", button: "importReplaceButton", key: Qt.Key_Enter,
                  list: "[" + added + "]" },
                { tag: "cancel", button: "importCancelButton", key: Qt.Key_Enter, list: before },
                { tag: "Escape", button: "", key: Qt.Key_Escape, list: before }
            ];
        }

        function test_paste(data) {
            paste(rows);
            var preview = item("importPreview");
            verify(preview.visible);
            tryVerify(function () { return item("meaning:0").activeFocus; }, 2000,
                      "the first meaning has no focus");
            compare(item("meaning:0").currentText, "Ф.И.О.");
            compare(item("meaning:1").currentText, "Группа (Класс)");
            compare(item("meaning:2").currentText, "как есть");
            compare(item("importCounts").text,
                    "Строк: 2 (ГТО: 0, без ГТО: 2), замечаний: 0");
            compare(item("jsonModel").count, 1);

            // From "как есть" six up: "Организация".
            tabTo("meaning:2");
            for (var i = 0; i < 6; ++i)
                keyClick(Qt.Key_Up);
            compare(item("meaning:2").currentText, "Организация");

            if (data.button !== "")
                tabTo(data.button);
            keyClick(data.key);
            verify(!preview.visible);
            verify(item("failureLabel").activeFocus, "the focus did not return to the page");
            compare(item("jsonModel").toJson(), data.list);
        }

        // Rows whose columns all have no meaning give nothing to add or to replace with.
        function test_noRowsNoActions() {
            paste("Иванов\t5А\nПетров\t5Б");
            verify(item("importPreview").visible);
            verify(!item("importAddButton").enabled);
            verify(!item("importReplaceButton").enabled);
            tryVerify(function () { return item("meaning:0").activeFocus; });
            keyClick(Qt.Key_Up);
            tryVerify(function () { return item("importReplaceButton").enabled; });
            verify(item("importAddButton").enabled);
        }

        function test_oneUndoTakesTheImportBack_data() {
            return [
                { tag: "add", button: "importAddButton", count: 3 },
                { tag: "replace", button: "importReplaceButton", count: 2 }
            ];
        }

        // The import is one step of the page's history, whichever way it came in; the load
        // before it is a step of its own.
        function test_oneUndoTakesTheImportBack(data) {
            paste(rows);
            tabTo(data.button);
            keyClick(Qt.Key_Return);
            var imported = item("jsonModel").toJson();
            compare(item("jsonModel").count, data.count);
            keyClick(Qt.Key_Z, Qt.ControlModifier);
            compare(item("jsonModel").toJson(), before);
            keyClick(Qt.Key_Y, Qt.ControlModifier);
            compare(item("jsonModel").toJson(), imported);
        }

        // Large enough to read a folder, centred over the window and kept on the desktop, as
        // the page's other file dialogs; a frame may shift it by a few pixels.
        function verifyFitted(dialog) {
            tryCompare(dialog, "visible", true);
            var desktopWidth = container.Screen.desktopAvailableWidth;
            var desktopHeight = container.Screen.desktopAvailableHeight;
            verify(dialog.width >= Math.min(800, desktopWidth), "width " + dialog.width);
            verify(dialog.height >= Math.min(500, desktopHeight), "height " + dialog.height);
            verify(dialog.width <= desktopWidth && dialog.height <= desktopHeight);
            var window = container.Window.window;
            var x = Math.max(0, Math.min(desktopWidth - dialog.width,
                                         window.x + Math.round((window.width - dialog.width) / 2)));
            var y = Math.max(0, Math.min(desktopHeight - dialog.height,
                                         window.y + Math.round((window.height - dialog.height) / 2)));
            verify(Math.abs(dialog.x - x) <= 10 && Math.abs(dialog.y - y) <= 10,
                   "at " + dialog.x + "," + dialog.y + " instead of " + x + "," + y);
        }

        // Here a dialog window that closes leaves no window active, where a desktop would
        // hand the focus back to the page.
        function activateAgain(target) {
            tryVerify(function () {
                container.Window.window.requestActivate();
                target.forceActiveFocus();
                return target.activeFocus;
            }, 2000, "the window took no focus");
        }

        // Each opening fits the dialog, whatever size it was left at; the file chosen opens
        // the preview.
        function test_importDialogOpensOverThePage() {
            var path = testDir + "/chosen.csv";
            compare(FileIO.save(path, rows), 0);
            var button = item("importButton");
            button.forceActiveFocus();
            keyClick(Qt.Key_Return);
            tryVerify(function () { return findChild(button, "fileDialog") !== null; });
            var dialog = findChild(button, "fileDialog");
            verifyFitted(dialog);
            compare(dialog.title, "Импорт списка");
            compare(dialog.selectExisting, true);
            compare(dialog.nameFilters[0], "Таблицы (*.xlsx *.csv *.txt)");
            dialog.close();
            dialog.width = 300;
            dialog.height = 200;
            activateAgain(button);
            keyClick(Qt.Key_Return);
            compare(findChild(button, "fileDialog"), dialog);
            verifyFitted(dialog);

            dialog.clearSelection();
            verify(dialog.addSelection("file://" + path));
            dialog.accept();
            verify(item("importPreview").visible);
            tryCompare(item("importCounts"), "text", "Строк: 2 (ГТО: 0, без ГТО: 2), замечаний: 0");
            activateAgain(item("importCancelButton"));
            keyClick(Qt.Key_Escape);
            verify(!item("importPreview").visible);
            compare(item("jsonModel").toJson(), before);
        }

        // Problems are listed by row; the rows still come in as typed.
        function test_fileWithProblems() {
            var path = testDir + "/list.csv";
            compare(FileIO.save(path, "Фамилия;Имя;Дата рождения;УИН\n" +
                                      "Иванов;Иван;31.02.2010;12-34-5678901\n;;;\n" +
                                      "Петрова;Анна;7.3.2010;123\n"), 0);
            item("importPreview").openFile("file://" + path);
            tryCompare(item("importCounts"), "text", "Строк: 2 (ГТО: 2, без ГТО: 0), замечаний: 2");
            compare(item("importProblems").text,
                    "строка 2: нет даты 31.02.2010\nстрока 4: УИН 123 — не 11 цифр");
            compare(item("jsonModel").count, 1);
            tabTo("importAddButton");
            keyClick(Qt.Key_Space);
            compare(item("jsonModel").count, 3);
        }

        function test_failureShowsTheReason_data() {
            return [
                { tag: "missing file", path: testDir + "/none.xlsx", reason: "Файл не читается" },
                { tag: "no rows", path: testDir + "/blank.csv", reason: "В таблице нет строк" }
            ];
        }

        function test_failureShowsTheReason(data) {
            compare(FileIO.save(testDir + "/blank.csv", " ;\n"), 0);
            item("importPreview").openFile(data.path);
            var notice = item("loadFailureLabel");
            tryVerify(function () { return notice.visible && notice.opacity > 0; });
            verify(!item("importPreview").visible);
            compare(notice.text, "Не удалось загрузить файл");
            compare(findChild(notice, "detail").text, data.reason);
            compare(item("jsonModel").toJson(), before);
            // A failed load afterwards gives its own cause.
            page.filePath = testDir + "/none.json";
            mouseClick(item("loadButton"));
            compare(findChild(notice, "detail").text, "Файл не найден");
        }

        // A file being read shows its progress; "Отмена" stops it and the list stays.
        // A text file's encoding is shown, and another choice reads it again.
        function test_readingAndEncoding() {
            // Long enough that the reading is still under way when "Отмена" is pressed.
            var big = testDir + "/big.csv";
            compare(FileIO.save(big, rows + "Сидоров Олег\t6А\tФакел\n".repeat(1000000)), 0);
            item("importPreview").openFile("file://" + big);
            verify(item("importProgress").visible);
            verify(item("importReadingCancelButton").activeFocus);
            keyClick(Qt.Key_Space);
            verify(!item("importPreview").visible);
            compare(item("jsonModel").toJson(), before);

            var path = testDir + "/rows.csv";
            compare(FileIO.save(path, rows), 0);
            item("importPreview").openFile("file://" + path);
            tryVerify(function () { return item("importEncoding").visible; });
            var box = item("importEncodingBox");
            compare(box.currentText, "UTF-8");
            box.activated(box.find("CP866"));
            tryCompare(box, "currentText", "CP866");
            verify(item("importPreview").visible);
            compare(item("jsonModel").toJson(), before);
        }
    }
}
