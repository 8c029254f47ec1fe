import QtQuick 2.7
import QtTest 1.1
import "../../../qml"
import ".."

// The editing table by keys alone: the current cell and its frame, edits started and ended
// as in a spreadsheet, Delete and Ctrl+Delete with undo, suggestions, notes.
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
        name: "TableKeys"
        when: windowShown

        // Rows 1 and 3 share a number; row 4 has a name too long for its column.
        readonly property string longName: Array(30).join("Konstantinopolskaya ")
        readonly property string listText: '[{"name":"Yana","gtoUuid":"111","step":"6.0"},' +
            '{"name":"Boris","gtoUuid":"222"},{"name":"Ivan","gtoUuid":"111"},' +
            '{"name":"' + longName + '"}]'

        function init() {
            page = createTemporaryObject(pageComponent, container);
            waitForRendering(page);
            var path = testDir + "/keys.json";
            compare(FileIO.save(path, listText), 0);
            page.filePath = path;
            mouseClick(item("loadButton"));
            tryCompare(item("lolView"), "rowCount", 4);
            waitForRendering(item("lolView"));
            // Down from the find field enters the table at its first cell.
            enterTable();
            verify(item("lolView").activeFocus, "Down did not enter the table");
        }

        function at() {
            var cursor = item("lolView").cursor;
            return cursor.row + ":" + cursor.column;
        }

        // From the list as a save writes it.
        function value(row, role) {
            return String(JSON.parse(item("jsonModel").toJson())[row][role]);
        }

        function enterTable() {
            keyClick(Qt.Key_F, Qt.ControlModifier);
            keyClick(Qt.Key_Down);
        }

        function test_keysMoveTheFrame() {
            verify(cell(0, "name").framed);
            // Until another key is used in the table, Tab passes over it.
            keyClick(Qt.Key_Tab);
            verify(item("header:name").activeFocus);
            verify(!cell(0, "name").framed);
            enterTable();
            var moves = [[Qt.Key_Right, 0, "0:1"], [Qt.Key_Down, 0, "1:1"],
                         [Qt.Key_End, 0, "1:8"], [Qt.Key_Home, 0, "1:0"],
                         [Qt.Key_End, Qt.ControlModifier, "3:8"], [Qt.Key_Up, 0, "2:8"],
                         [Qt.Key_Home, Qt.ControlModifier, "0:0"], [Qt.Key_PageDown, 0, "3:0"],
                         [Qt.Key_Backtab, Qt.ShiftModifier, "2:8"], [Qt.Key_Tab, 0, "3:0"],
                         [Qt.Key_PageUp, 0, "0:0"], [Qt.Key_Left, 0, "0:0"]];
            for (var i = 0; i < moves.length; ++i) {
                keyClick(moves[i][0], moves[i][1]);
                compare(at(), moves[i][2], "move " + i);
            }
            keyClick(Qt.Key_Down);
            verify(cell(1, "name").framed && !cell(0, "name").framed);
            // Ctrl+Tab leaves the table for the titles and the frame goes; Down comes back.
            keyClick(Qt.Key_Tab, Qt.ControlModifier);
            verify(item("header:name").activeFocus && !cell(1, "name").framed);
            keyClick(Qt.Key_Down);
            verify(cell(1, "name").framed);
            // A click makes a cell current, one that takes no edit too.
            mouseClick(cell(2, "step"));
            compare(at(), "2:6");
            verify(cell(2, "step").framed);
            // Shift+Tab before the first cell leaves for the find field.
            keyClick(Qt.Key_Home, Qt.ControlModifier);
            keyClick(Qt.Key_Backtab, Qt.ShiftModifier);
            verify(item("findField").activeFocus);
        }

        function inSight(target) {
            var view = item("lolView");
            var top = target.mapToItem(view, 0, 0).y;
            return top >= 0 && top + target.height <= view.height;
        }

        // The rows scroll to keep the current cell in sight.
        function test_longList() {
            var rows = [];
            for (var i = 0; i < 100; ++i)
                rows.push('{"name":"N' + i + '"}');
            compare(FileIO.save(page.filePath, "[" + rows.join() + "]"), 0);
            mouseClick(item("loadButton"));
            tryCompare(item("lolView"), "rowCount", 100);
            enterTable();
            keyClick(Qt.Key_End, Qt.ControlModifier);
            verify(inSight(cell(99, "name")));
            keyClick(Qt.Key_PageUp);
            keyClick(Qt.Key_PageUp);
            var row = item("lolView").cursor.row;
            verify(row > 0 && row < 90, "row " + row);
            verify(inSight(cell(row, "name")));
        }

        function test_editsByKeys() {
            keyClick(Qt.Key_F2);
            var editor = findChild(cell(0, "name"), "editor");
            verify(editor.activeFocus);
            compare(editor.text, "Yana");
            type("x");
            // Escape cancels nothing; Return commits and goes one row down.
            keyClick(Qt.Key_Escape);
            verify(editor.activeFocus);
            keyClick(Qt.Key_Return);
            compare(value(0, "name"), "Yanax");
            verify(item("failureLabel").activeFocus);
            compare(at(), "1:0");
            // A typed letter replaces the text; Tab commits and goes right.
            type("q");
            compare(findChild(cell(1, "name"), "editor").text, "q");
            keyClick(Qt.Key_Tab);
            compare(value(1, "name"), "q");
            compare(at(), "1:1");
            keyClick(Qt.Key_Return);
            type("9");
            keyClick(Qt.Key_Return);
            compare(value(1, "birthDate"), "9");
            // The step column takes no edit, by Return, F2, a letter or Delete.
            compare(value(1, "step"), "3");
            keyClick(Qt.Key_Up);
            for (var i = 0; i < 5; ++i)
                keyClick(Qt.Key_Right);
            compare(at(), "1:6");
            keyClick(Qt.Key_Return);
            keyClick(Qt.Key_F2);
            type("7");
            keyClick(Qt.Key_Delete);
            compare(findChild(cell(1, "step"), "editor"), null);
            compare(value(1, "step"), "3");
        }

        function test_deleteAndUndo() {
            keyClick(Qt.Key_Delete);
            compare(value(0, "name"), "");
            keyClick(Qt.Key_Down);
            keyClick(Qt.Key_Delete, Qt.ControlModifier);
            tryCompare(item("lolView"), "rowCount", 3);
            compare(value(1, "name"), "Ivan");
            keyClick(Qt.Key_Z, Qt.ControlModifier);
            tryCompare(item("lolView"), "rowCount", 4);
            compare(value(1, "name"), "Boris");
            keyClick(Qt.Key_Z, Qt.ControlModifier);
            compare(value(0, "name"), "Yana");
        }

        function test_rankSuggestionsByKeys() {
            keyClick(Qt.Key_End);
            type("1");
            var editor = findChild(cell(0, "athleticRank"), "editor");
            var list = item("completionList");
            verify(list.visible);
            var pick = list.suggestions.indexOf("1ю");
            verify(pick >= 0, list.suggestions.join());
            for (var i = 0; i <= pick; ++i)
                keyClick(Qt.Key_Down);
            keyClick(Qt.Key_Return);
            verify(editor.activeFocus);
            compare(editor.text, "1ю");
            keyClick(Qt.Key_Return);
            compare(value(0, "athleticRank"), "1ю");
        }

        // What a screen reader says of a cell, a title and its sort, a delete button.
        function test_accessibleNames() {
            var uuid = cell(2, "gtoUuid");
            compare(uuid.Accessible.name, "ИД ГТО, строка 3");
            compare(uuid.Accessible.description, "111. Тот же УИН: запись 1");
            var title = item("header:name");
            compare(title.Accessible.description, "без сортировки");
            mouseClick(title);
            compare(title.Accessible.description, "по возрастанию");
            mouseClick(title);
            compare(title.Accessible.description, "по убыванию");
            compare(findChild(cell(1, "delete"), "deleteButton").Accessible.name,
                    "Удалить строку 2");
        }

        // The current row's repeats in the status line, a cut text whole beside its cell.
        function test_notesOfTheCurrentCell() {
            compare(item("statusLine").text,
                    "Записей: 4. Повторов: 2. Запись 1: Тот же УИН: запись 3");
            keyClick(Qt.Key_Down);
            compare(item("statusLine").text, "Записей: 4. Повторов: 2");
            var note = item("cellNote");
            verify(!note.visible);
            keyClick(Qt.Key_End, Qt.ControlModifier);
            keyClick(Qt.Key_Home);
            verify(findChild(cell(3, "name"), "cellText").truncated);
            verify(note.visible);
            compare(note.text, longName);
            keyClick(Qt.Key_Right);
            verify(!note.visible);
        }
    }
}
