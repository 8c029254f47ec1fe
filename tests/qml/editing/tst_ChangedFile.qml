import QtQuick 2.7
import QtTest 1.1
import "../../../qml"
import ".."

// Two desks on one list: the other desk, a process of its own, saves between this page's
// load and save. Each answer of the changed-file bar, by keyboard.
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
        name: "ChangedFile"
        when: windowShown

        readonly property string ivanov: '{"gtoUuid":"1","isGto":true,"name":"Иванов"}'
        readonly property string petrov: '{"gtoUuid":"2","isGto":true,"name":"Петров"}'
        property string path: testDir + "/desks.json"

        // Loaded here, one cell edited here, a record added by the other desk.
        function init() {
            page = createTemporaryObject(pageComponent, container);
            compare(FileIO.save(path, "[" + ivanov + "," + petrov + "]"), 0);
            page.filePath = path;
            mouseClick(item("loadButton"));
            tryCompare(item("lolView"), "rowCount", 2);
            verify(item("history").editCell(1, "name", "Петров Пётр"));
            compare(OtherDesk.addRecord(path, "Сидоров"), 0);
            var other = JSON.parse(FileIO.readAll(path));
            compare(other.length, 3);
            compare(other[2].name, "Сидоров");

            item("saveButton").forceActiveFocus();
            keyClick(Qt.Key_Space);
            var bar = item("changedFileBar");
            tryCompare(bar, "visible", true);
            compare(item("changedFileText").text,
                    "Файл изменён после загрузки — другой программой или на другом компьютере.");
            compare(FileIO.readAll(path).indexOf("Петров Пётр"), -1);
            verify(item("mergeButton").activeFocus);
        }

        function test_cancelWritesNothing() {
            var before = FileIO.readAll(path);
            keyClick(Qt.Key_Tab);
            keyClick(Qt.Key_Tab);
            verify(item("changedCancelButton").activeFocus);
            keyClick(Qt.Key_Return);
            compare(item("changedFileBar").visible, false);
            compare(FileIO.readAll(path), before);
            compare(item("jsonModel").count, 2);
        }

        function test_overwriteWritesThisList() {
            keyClick(Qt.Key_Tab);
            verify(item("overwriteButton").activeFocus);
            keyClick(Qt.Key_Return);
            compare(item("changedFileBar").visible, false);
            var written = JSON.parse(FileIO.readAll(path));
            compare(written.length, 2);
            compare(written[1].name, "Петров Пётр");
        }

        // Иванов is an exact repeat and stays out; the other desk's Петров shares an
        // identification number with the edited row and comes in marked; the merge is one
        // step, and the save follows it.
        function test_mergeAddsTheOtherDesksRecords() {
            keyClick(Qt.Key_Return);
            var preview = item("importPreview");
            tryCompare(preview, "visible", true);
            compare(preview.importer.isList, true);
            compare(preview.importer.problems, ["запись 1: уже в списке: запись 1, точный повтор",
                                                "запись 2: уже в списке: запись 2"]);
            compare(item("skipExactRepeatsCheckBox").checked, true);
            item("importAddButton").forceActiveFocus();
            keyClick(Qt.Key_Return);
            compare(preview.visible, false);
            compare(item("changedFileBar").visible, false);
            var names = JSON.parse(FileIO.readAll(path)).map(function (r) { return r.name; });
            compare(names, ["Иванов", "Петров Пётр", "Петров", "Сидоров"]);
            compare(item("jsonModel").count, 4);
            item("history").undo();
            compare(item("jsonModel").count, 2);

            // A later save over the merged file asks nothing.
            item("history").redo();
            item("saveButton").forceActiveFocus();
            keyClick(Qt.Key_Space);
            compare(item("changedFileBar").visible, false);
        }
    }
}
