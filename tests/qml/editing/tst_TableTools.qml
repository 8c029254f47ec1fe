import QtQuick 2.7
import QtTest 1.1
import "../../../qml"
import ".."

// The editing table's titles that sort, the find field, undo and redo, the marks on
// repeated values and the rank suggestions, driven by mouse and keys.
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
        name: "TableTools"
        when: windowShown

        // Rows 1 and 3 share a number, rows 3 and 4 are one person by name and birth date.
        readonly property string listText: '[{"name":"Yana","gtoUuid":"111","pectoralNumber":"7"},' +
            '{"name":"Boris","gtoUuid":"222","birthDate":"01.02.2003"},' +
            '{"name":"ivan","gtoUuid":"111","pectoralNumber":"8","birthDate":"1.2.2003"},' +
            '{"name":"Ivan","birthDate":"01.02.2003"}]'
        property string listPath: testDir + "/tools.json"

        function init() {
            page = createTemporaryObject(pageComponent, container);
            waitForRendering(page);
            compare(FileIO.save(listPath, listText), 0);
            page.filePath = listPath;
            mouseClick(item("loadButton"));
            tryCompare(item("lolView"), "rowCount", 4);
            waitForRendering(item("lolView"));
        }

        function names() {
            // The view counts its rows when it lays them out.
            tryCompare(item("lolView"), "rowCount", item("tableModel").count);
            var shown = [];
            for (var row = 0; row < item("lolView").rowCount; ++row)
                shown.push(findChild(cell(row, "name"), "cellText").text);
            return shown.join();
        }

        function saved() {
            var path = testDir + "/tools-saved.json";
            page.filePath = path;
            mouseClick(item("saveButton"));
            return JSON.parse(FileIO.readAll(path)).map(function (r) { return r.name; }).join();
        }

        function test_titleClicksSort() {
            var arrow = findChild(item("header:name"), "sortArrow");
            compare(arrow.visible, false);
            mouseClick(item("header:name"));
            compare(names(), "Boris,ivan,Ivan,Yana");
            compare(arrow.text, "▲");
            verify(arrow.visible);
            mouseClick(item("header:name"));
            compare(names(), "Yana,ivan,Ivan,Boris");
            compare(arrow.text, "▼");
            // The delete column does not sort.
            mouseClick(item("header:delete"));
            compare(names(), "Yana,ivan,Ivan,Boris");
            // A save writes the order shown.
            compare(saved(), "Yana,ivan,Ivan,Boris");
            // Equal dates keep their order, rows without one go last.
            mouseClick(item("header:birthDate"));
            compare(names(), "ivan,Ivan,Boris,Yana");
            verify(!arrow.visible);
            verify(findChild(item("header:birthDate"), "sortArrow").visible);
        }

        // Only the sorted column keeps room for its arrow; the others give it to the texts.
        function test_arrowRoomOnlyWhenSorted() {
            var view = item("lolView");
            var sex = view.getColumn(5);
            compare(sex.width, view.titleWidth(sex.title));
            mouseClick(item("header:sex"));
            tryCompare(sex, "width", view.titleWidth(sex.title) + view.arrowRoom);
            var bib = view.getColumn(7);
            compare(bib.width, view.titleWidth(bib.title));
        }

        function test_titlesByKeys() {
            item("header:name").forceActiveFocus();
            keyClick(Qt.Key_Right);
            keyClick(Qt.Key_Space);
            compare(names(), "Boris,ivan,Ivan,Yana");
            keyClick(Qt.Key_Left);
            keyClick(Qt.Key_Return);
            keyClick(Qt.Key_Return);
            compare(names(), "Yana,ivan,Ivan,Boris");
            verify(item("header:name").activeFocus);
        }

        function test_findField() {
            keyClick(Qt.Key_F, Qt.ControlModifier);
            var field = item("findField");
            verify(field.activeFocus);
            type("IVAN");
            tryCompare(item("lolView"), "rowCount", 2);
            compare(names(), "ivan,Ivan");
            compare(item("statusLine").text, "Записей: 4, показано 2. Повторов: 3");
            // An edit and a delete reach the records shown, not the rows at those places.
            mouseClick(cell(1, "gtoUuid"));
            keyClick(Qt.Key_A, Qt.ControlModifier);
            type("999");
            keyClick(Qt.Key_Return);
            mouseClick(findChild(cell(0, "delete"), "deleteButton"));
            compare(names(), "Ivan");
            var written = JSON.parse((saved(), FileIO.readAll(testDir + "/tools-saved.json")));
            compare(written.length, 3);
            compare(written[2].gtoUuid, "999");
            compare(written[2].name, "Ivan");
            mouseClick(field);
            keyClick(Qt.Key_Escape);
            compare(field.text, "");
            compare(names(), "Yana,Boris,Ivan");
            compare(item("statusLine").text, "Записей: 3. Повторов: 0");
        }

        function test_undoRedo_data() {
            return [
                { tag: "Ctrl+Z and Ctrl+Y", undo: Qt.Key_Z, redo: Qt.Key_Y,
                  redoModifiers: Qt.ControlModifier },
                { tag: "Ctrl+Shift+Z", undo: Qt.Key_Z, redo: Qt.Key_Z,
                  redoModifiers: Qt.ControlModifier | Qt.ShiftModifier },
                { tag: "buttons", undo: -1, redo: -1 }
            ];
        }

        function test_undoRedo(data) {
            var undoButton = item("undoButton");
            var redoButton = item("redoButton");
            compare(redoButton.enabled, false);
            mouseClick(item("header:name"));
            mouseClick(findChild(cell(0, "delete"), "deleteButton"));
            compare(names(), "ivan,Ivan,Yana");
            for (var step = 0; step < 2; ++step) {
                if (data.undo < 0)
                    mouseClick(undoButton);
                else
                    keyClick(data.undo, Qt.ControlModifier);
            }
            compare(names(), "Yana,Boris,ivan,Ivan");
            verify(redoButton.enabled);
            if (data.redo < 0)
                mouseClick(redoButton);
            else
                keyClick(data.redo, data.redoModifiers);
            compare(names(), "Boris,ivan,Ivan,Yana");
            // The load itself is the first step: taking it back empties the table.
            while (undoButton.enabled)
                mouseClick(undoButton);
            compare(item("lolView").rowCount, 0);
        }

        function test_repeatsAreMarked() {
            compare(item("statusLine").text, "Записей: 4. Повторов: 3");
            var uuid = cell(2, "gtoUuid");
            verify(uuid.marked);
            verify(cell(3, "birthDate").marked);
            verify(cell(3, "name").marked);
            verify(!cell(1, "birthDate").marked);
            verify(!cell(2, "pectoralNumber").marked);
            mouseMove(uuid, uuid.width / 2, uuid.height / 2);
            var note = item("cellNote");
            tryVerify(function () { return note.visible; }, 2000, "no note");
            compare(note.text, "Тот же УИН: запись 1");
        }

        function test_emptyListGivesTitleWidths() {
            var view = item("lolView");
            var name = view.getColumn(0);
            compare(FileIO.save(listPath, '[{"name":"' + Array(40).join("Wide ") + '"}]'), 0);
            mouseClick(item("loadButton"));
            tryVerify(function () { return name.width > view.titleWidth(name.title) * 2; });
            compare(FileIO.save(listPath, "[]"), 0);
            mouseClick(item("loadButton"));
            for (var i = 0; i < view.columnCount; ++i)
                tryCompare(view.getColumn(i), "width", view.titleWidth(view.getColumn(i).title));
        }

        // Taking a load back brings back the list before it and that list's path, so a save
        // does not write one list into the other's file.
        function test_undoALoad() {
            var other = testDir + "/other.json";
            compare(FileIO.save(other, '[{"name":"Other"}]'), 0);
            page.filePath = other;
            mouseClick(item("loadButton"));
            compare(names(), "Other");
            keyClick(Qt.Key_Z, Qt.ControlModifier);
            compare(names(), "Yana,Boris,ivan,Ivan");
            compare(item("loadFileTextField").text, listPath);
            keyClick(Qt.Key_Y, Qt.ControlModifier);
            compare(names(), "Other");
            compare(item("loadFileTextField").text, other);
        }

        // After a save under another name the rows belong to that file.
        function test_undoALoadAfterASaveAs() {
            var savedAs = testDir + "/saved-as.json";
            page.filePath = savedAs;
            mouseClick(item("saveButton"));
            var other = testDir + "/other.json";
            compare(FileIO.save(other, '[{"name":"Other"}]'), 0);
            page.filePath = other;
            mouseClick(item("loadButton"));
            keyClick(Qt.Key_Z, Qt.ControlModifier);
            compare(names(), "Yana,Boris,ivan,Ivan");
            compare(item("loadFileTextField").text, savedAs);
        }

        // A cell editor with nothing of its own to take back leaves Ctrl+Z to the table.
        function test_undoFromAnEditor() {
            mouseClick(cell(1, "name"));
            keyClick(Qt.Key_A, Qt.ControlModifier);
            type("Bo");
            keyClick(Qt.Key_Return);
            compare(names(), "Yana,Bo,ivan,Ivan");
            mouseClick(cell(0, "name"));
            verify(findChild(cell(0, "name"), "editor").activeFocus);
            keyClick(Qt.Key_Z, Qt.ControlModifier);
            compare(names(), "Yana,Boris,ivan,Ivan");
        }

        function test_rankCellSuggests() {
            mouseClick(cell(0, "athleticRank"));
            var editor = findChild(cell(0, "athleticRank"), "editor");
            verify(editor.activeFocus);
            editor.text = "к";
            var list = item("completionList");
            verify(list.visible);
            compare(list.suggestions, ["КМС"]);
            // Under the cell, where the table has room.
            verify(list.mapToItem(editor, 0, 0).y >= editor.height);
            keyClick(Qt.Key_Down);
            keyClick(Qt.Key_Return);
            // The pick fills the editor; the next Return ends the edit.
            verify(editor.activeFocus);
            compare(editor.text, "КМС");
            keyClick(Qt.Key_Return);
            compare(list.visible, false);
            compare(findChild(cell(0, "athleticRank"), "cellText").text, "КМС");
        }
    }
}
