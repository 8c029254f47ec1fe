import QtQuick 2.7
import QtTest 1.1
import "../../qml"

// The editing page driven as an operator drives it, on real files written by FileIO.
Item {
    id: container
    // Wider than the program's window, as the test's default font is larger than the
    // program's, and a whole row of test records should fit.
    width: 1400
    height: 740

    Component {
        id: pageComponent
        Page2 {
            anchors.fill: parent
        }
    }

    PageTestCase {
        name: "Page2"
        when: windowShown

        // As the creation page writes them: a GTO record of eight keys, one of ten with a
        // step of 8.1 and a long name, and a training record.
        readonly property string gto: '{"birthDate":"07.03.2000","group":"Школа 5",' +
            '"gtoUuid":"12345678901","isGto":true,"name":"Иванова Мария",' +
            '"organization":"Школа 5","sex":"Ж","step":"6.0"}'
        readonly property string gtoBib: '{"birthDate":"1.2.1980","group":"Клуб \\"Старт\\"",' +
            '"gtoUuid":"","isGto":true,' +
            '"name":"Константинова Александра",' +
            '"organization":"Клуб \\"Старт\\"","sex":"Ж","step":"8.1",' +
            '"pectoralNumber":"17","athleticRank":"КМС"}'
        readonly property string training: '{"group":"5А","isGto":false,"name":"Петров Иван",' +
            '"organization":"Клуб"}'
        readonly property string creationList: "[" + gto + "," + gtoBib + "," + training + "]"

        property string savePath: testDir + "/saved.json"

        function init() {
            page = createTemporaryObject(pageComponent, container);
            waitForRendering(page);
        }

        function writeList(name, text) {
            var path = testDir + "/" + name;
            compare(FileIO.save(path, text), 0);
            return path;
        }

        function load(path) {
            page.filePath = path;
            mouseClick(item("loadButton"));
        }

        function loadList(text) {
            load(writeList("list.json", text));
            // The view counts its rows when it lays them out.
            tryCompare(item("lolView"), "rowCount", JSON.parse(text).length);
            // Cells move to their fitted columns at the next frame.
            waitForRendering(item("lolView"));
        }

        function saved() {
            page.filePath = savePath;
            mouseClick(item("saveButton"));
            return FileIO.readAll(savePath);
        }

        function shown(row, role) {
            var text = findChild(cell(row, role), "cellText");
            return text.visible ? text.text : "<hidden>";
        }

        // A click into the cell, its old text selected and replaced. Test keys are Latin only.
        function edit(row, role, text) {
            mouseClick(cell(row, role));
            var editor = findChild(cell(row, role), "editor");
            verify(editor.activeFocus, "no edit in " + role);
            keyClick(Qt.Key_A, Qt.ControlModifier);
            type(text);
        }

        // Only what is in sight can be clicked.
        function inSight(target) {
            var place = target.mapToItem(container, 0, 0);
            return target.visible && place.x >= 0 && place.x + target.width <= container.width;
        }

        function clickDelete(row) {
            var button = findChild(cell(row, "delete"), "deleteButton");
            tryVerify(function () { return inSight(button); }, 2000, "delete button out of sight");
            mouseClick(button);
        }

        function test_loadShowsTheRecords() {
            loadList(creationList);
            var view = item("lolView");
            var columns = [];
            for (var i = 0; i < view.columnCount; ++i)
                columns.push(view.getColumn(i).role + ":" + view.getColumn(i).title);
            compare(columns.join(), ["name:Имя", "birthDate:Дата Рождения", "group:Группа",
                                     "organization:Организация", "gtoUuid:ИД ГТО", "sex:Пол",
                                     "step:Ступень", "pectoralNumber:Нагрудный Номер",
                                     "athleticRank:Спортивный Разряд",
                                     "delete:Удаление"].join());

            compare(shown(0, "name"), "Иванова Мария");
            compare(shown(0, "step"), "6");
            compare(shown(1, "step"), "8.1");
            compare(shown(1, "group"), "Клуб \"Старт\"");
            compare(shown(1, "athleticRank"), "КМС");
            compare(shown(0, "pectoralNumber"), "");
            compare(shown(2, "step"), "");
            compare(shown(2, "birthDate"), "");
            compare(findChild(cell(2, "delete"), "deleteButton").text, "Удалить");
            compare(findChild(cell(2, "delete"), "deleteButton").visible, true);
            compare(findChild(cell(2, "name"), "deleteButton"), null);

            // The long name fits once the columns follow their contents.
            var longName = findChild(cell(1, "name"), "cellText");
            tryVerify(function () { return view.getColumn(0).width >= longName.implicitWidth; },
                      2000, "name column narrower than its longest name");
            verify(inSight(findChild(cell(0, "delete"), "deleteButton")));

            compare(saved(), creationList + "\n");
        }

        // Names too long for the window give way, titles and delete buttons stay whole.
        function test_columnsStayInSight() {
            var name = "Константинопольская-Преображенская Александра-Виктория ";
            name = name + name + name;
            loadList("[" + gtoBib.replace(/"name":"[^"]*"/, '"name":"' + name + '"') + "]");
            var view = item("lolView");
            tryVerify(function () { return inSight(findChild(cell(0, "delete"), "deleteButton")); },
                      2000, "delete button out of sight");
            verify(view.getColumn(0).width < findChild(cell(0, "name"), "cellText").implicitWidth);
            var total = 0;
            for (var i = 0; i < view.columnCount; ++i) {
                var column = view.getColumn(i);
                verify(column.width >= view.titleWidth(column.title), column.title + " cut");
                total += column.width;
            }
            // The name gives way only as far as needed.
            verify(total > view.viewport.width - view.columnCount, "columns fill " + total);
            // The shortest columns keep their contents' width.
            verify(view.getColumn(5).width >= findChild(cell(0, "sex"), "cellText").implicitWidth);
        }

        function test_stepDisplay_data() {
            return [
                { tag: "6.0", step: '"6.0"', shown: "6" },
                { tag: "number", step: "7", shown: "7" },
                { tag: "7.6 rounds", step: '"7.6"', shown: "8" },
                { tag: "8.2", step: '"8.2"', shown: "8.2" },
                { tag: "8.0 as stored", step: '"8.0"', shown: "8.0" },
                { tag: "empty text", step: '""', shown: "0" },
                { tag: "text", step: '"нет"', shown: "нет" },
                { tag: "null", step: "null", shown: "" }
            ];
        }

        function test_stepDisplay(data) {
            loadList('[{"name":"a","step":' + data.step + '}]');
            compare(shown(0, "step"), data.shown);
        }

        function test_birthDateEditSetsStep_data() {
            return [
                { tag: "20 years ago", date: dateYearsAgo(20), step: "6" },
                { tag: "42 years ago", date: dateYearsAgo(42), step: "8.1" },
                { tag: "no such day", date: "31.02.2000", step: "3" },
                { tag: "not a date", date: "yesterday", step: "3" }
            ];
        }

        function test_birthDateEditSetsStep(data) {
            loadList("[" + gto + "," + training + "]");
            edit(0, "birthDate", data.date);
            keyClick(Qt.Key_Return);
            verify(item("failureLabel").activeFocus, "the notice label took no focus");
            compare(shown(0, "birthDate"), data.date);
            compare(shown(0, "step"), data.step);
            compare(saved(), "[" + gto.replace("07.03.2000", data.date)
                                      .replace('"step":"6.0"', '"step":"' + data.step + '"') +
                             "," + training + "]\n");
        }

        function test_leavingAnEmptyCellGivesItsKey() {
            loadList("[" + training + "," + training + "]");
            // Leaving through a click on another cell, whose edit then starts.
            mouseClick(cell(0, "birthDate"));
            mouseClick(cell(1, "sex"));
            verify(findChild(cell(1, "sex"), "editor").activeFocus);
            compare(shown(0, "step"), "3");
            keyClick(Qt.Key_Enter);
            var trainingWithDate = training.replace("}", ',"birthDate":"","step":"3"}');
            compare(saved(), "[" + trainingWithDate + "," +
                             training.replace("}", ',"sex":""}') + "]\n");
        }

        function test_cellsThatTakeNoEdit() {
            loadList(creationList);
            mouseClick(cell(0, "step"));
            type("9");
            keyClick(Qt.Key_Return);
            // Beside the delete button.
            mouseClick(cell(1, "delete"), 3, cell(1, "delete").height / 2);
            type("7");
            keyClick(Qt.Key_Return);
            compare(shown(0, "step"), "6");
            compare(item("lolView").rowCount, 3);
            compare(saved(), creationList + "\n");
        }

        function test_keysWhileEditing() {
            loadList(creationList);
            edit(1, "sex", "M");
            var view = item("lolView");
            var row = view.currentRow;
            keyClick(Qt.Key_Down);
            keyClick(Qt.Key_Up);
            keyClick(Qt.Key_Up);
            compare(view.currentRow, row);
            // Escape cancels nothing: the text typed stays and commits.
            keyClick(Qt.Key_Escape);
            verify(findChild(cell(1, "sex"), "editor").activeFocus);
            keyClick(Qt.Key_Return);
            compare(shown(1, "sex"), "M");
            compare(saved(), "[" + gto + "," + gtoBib.replace('"sex":"Ж"', '"sex":"M"') + "," +
                             training + "]\n");
        }

        function test_keysThatEndTheEdit_data() {
            return [
                { tag: "Return", key: Qt.Key_Return, modifiers: Qt.NoModifier },
                { tag: "Enter", key: Qt.Key_Enter, modifiers: Qt.NoModifier },
                { tag: "Tab", key: Qt.Key_Tab, modifiers: Qt.NoModifier },
                { tag: "Backtab", key: Qt.Key_Backtab, modifiers: Qt.ShiftModifier }
            ];
        }

        function test_keysThatEndTheEdit(data) {
            loadList(creationList);
            edit(0, "athleticRank", "KMS");
            keyClick(data.key, data.modifiers);
            verify(item("failureLabel").activeFocus, "the notice label took no focus");
            compare(shown(0, "athleticRank"), "KMS");
            // Keys pressed now reach no control: no row goes.
            keyClick(Qt.Key_Space);
            keyClick(Qt.Key_Return);
            compare(item("lolView").rowCount, 3);
        }

        function test_saveCommitsTheOpenEdit() {
            loadList(creationList);
            edit(2, "name", "Sidorov Petr");
            verify(findChild(cell(2, "name"), "editor").visible);
            compare(saved(), "[" + gto + "," + gtoBib + "," +
                             training.replace("Петров Иван", "Sidorov Petr") + "]\n");
            compare(shown(2, "name"), "Sidorov Petr");
        }

        function test_deleteRows() {
            loadList(creationList);
            clickDelete(1);
            tryCompare(item("lolView"), "rowCount", 2);
            compare(saved(), "[" + gto + "," + training + "]\n");

            // An edit open in a later row commits into its own record, one open in the
            // deleted row goes with it.
            edit(1, "group", "6B");
            clickDelete(0);
            compare(saved(), "[" + training.replace("5А", "6B") + "]\n");
            loadList(creationList);
            edit(1, "name", "Gone");
            clickDelete(1);
            compare(saved(), "[" + gto + "," + training + "]\n");
            clickDelete(1);
            edit(0, "name", "Gone");
            clickDelete(0);

            tryCompare(item("lolView"), "rowCount", 0);
            compare(saved(), "[]\n");
        }

        // Files are written by FileIO.save, which ends them with a line feed.
        function test_failedLoadKeepsTheTable_data() {
            return [
                { tag: "missing file", text: null, reason: "Файл не найден" },
                { tag: "empty file", text: "", reason: "Файл пуст" },
                { tag: "white space", text: "  \t ", reason: "Файл пуст" },
                { tag: "not JSON", text: "Иванов, Петров",
                  reason: "Это не список JSON: строка 1, позиция 1" },
                { tag: "cut short", text: "[" + gto,
                  reason: "Это не список JSON: строка 2, позиция 1" },
                { tag: "null", text: "null", reason: "В файле не список, а null" },
                { tag: "object", text: gto, reason: "В файле не список, а объект JSON" },
                { tag: "number", text: "17", reason: "В файле не список, а число" },
                { tag: "Windows-1251", file: "data/windows-1251.json",
                  reason: "Файл не в кодировке UTF-8: строка 1, позиция 11" }
            ];
        }

        function test_failedLoadKeepsTheTable(data) {
            loadList(creationList);
            edit(0, "name", "Edited");
            var notice = item("loadFailureLabel");
            compare(notice.visible, false);

            if (data.file)
                load(Qt.resolvedUrl(data.file).toString().replace(/^file:\/\//, ""));
            else
                load(data.text === null ? testDir + "/missing.json"
                                        : writeList("bad.json", data.text));
            compare(notice.text, "Не удалось загрузить файл");
            compare(notice.visible, true);
            // The cause, in smaller letters under the message.
            var detail = findChild(notice, "detail");
            compare(detail.text, data.reason);
            compare(detail.visible, true);
            verify(detail.font.pixelSize < notice.font.pixelSize);
            verify(detail.mapToItem(notice, 0, 0).y >= notice.height);
            verify(notice.opacity > 0.5, "notice opacity " + notice.opacity);
            compare(item("failureLabel").visible, false);
            compare(item("lolView").rowCount, 3);
            compare(shown(0, "name"), "Edited");
            compare(saved(), creationList.replace("Иванова Мария", "Edited") + "\n");
        }

        function test_emptyListEmptiesTheTable() {
            loadList(creationList);
            loadList("[]");
            compare(item("loadFailureLabel").visible, false);
            compare(saved(), "[]\n");
        }

        function test_laterLoadShowsNewKeys() {
            loadList("[" + training + "]");
            loadList("[" + gto + "]");
            compare(shown(0, "birthDate"), "07.03.2000");
            compare(shown(0, "sex"), "Ж");
            compare(saved(), '[{"group":"Школа 5","isGto":true,"name":"Иванова Мария",' +
                             '"organization":"Школа 5","birthDate":"07.03.2000",' +
                             '"gtoUuid":"12345678901","sex":"Ж","step":"6.0"}]\n');
        }

        function test_failedSaveShowsTheNotice() {
            loadList(creationList);
            page.filePath = testDir + "/no/such/folder/list.json";
            mouseClick(item("saveButton"));
            var notice = item("failureLabel");
            compare(notice.text, "Не удалось сохранить файл");
            compare(notice.visible, true);
            compare(item("loadFailureLabel").visible, false);
        }
    }
}
