import QtQuick 2.7
import QtTest 1.1
import "../../../qml"
import ".."

// The editing table in the program's window width: lists of any size and text length fit,
// titles and delete buttons whole, and a cut text shows whole under the pointer.
Item {
    id: container
    width: 1024
    height: 740

    Component {
        id: pageComponent
        Page2 {
            anchors.fill: parent
        }
    }

    PageTestCase {
        name: "TableFit"
        when: windowShown

        // Texts of 2 to 200 characters, the same on every run.
        function text(seed, longest) {
            var letters = "Константинопольская Школа № 5 ";
            var length = 2 + (seed * 7919) % (longest - 1);
            var result = "";
            for (var i = 0; i < length; ++i)
                result += letters.charAt((seed + i * 13) % letters.length);
            return result;
        }

        function listOf(count) {
            var rows = [{ name: "Сидоров; \"Пётр\"\nмладший", organization: "Клуб",
                          gtoUuid: "1", step: "6.0" }];
            for (var i = 1; i < count; ++i) {
                rows.push({ name: text(i, 200), organization: text(i + 3, 200),
                            group: text(i + 5, 20), athleticRank: text(i, 20),
                            birthDate: "01.02.2003", gtoUuid: String(10000000000 + i),
                            sex: "Ж", step: "8.1", pectoralNumber: String(i) });
            }
            return JSON.stringify(rows);
        }

        function load(count) {
            page = createTemporaryObject(pageComponent, container);
            // Loaded into a page already shown, as an operator loads it.
            waitForRendering(page);
            var path = testDir + "/fit-" + count + ".json";
            compare(FileIO.save(path, listOf(count)), 0);
            page.filePath = path;
            mouseClick(item("loadButton"));
            compare(item("jsonModel").count, count);
            // The scroll bar that a long list brings makes the view narrower a frame later.
            waitForRendering(page);
            waitForRendering(page);
            return item("lolView");
        }

        function test_fitsTheWindow_data() {
            return [ { tag: "1", count: 1 }, { tag: "55", count: 55 },
                     { tag: "10000", count: 10000 } ];
        }

        function test_fitsTheWindow(data) {
            var view = load(data.count);
            var total = 0;
            for (var i = 0; i < view.columnCount; ++i) {
                var column = view.getColumn(i);
                verify(column.width >= view.titleWidth(column.title), column.title + " cut");
                total += column.width;
            }
            verify(total <= view.viewport.width, total + " wider than " + view.viewport.width);
            var button = findChild(cell(0, "delete"), "deleteButton");
            var place = button.mapToItem(view.viewport, 0, 0);
            verify(place.x >= 0 && place.x + button.width <= view.viewport.width,
                   "delete button cut at " + place.x);
            compare(findChild(cell(0, "name"), "cellText").text, "Сидоров; \"Пётр\" ⏎");
        }

        function test_cutTextShowsWhole() {
            var view = load(55);
            var cut = null;
            for (var row = 1; row < 10 && !cut; ++row) {
                if (findChild(cell(row, "organization"), "cellText").truncated)
                    cut = cell(row, "organization");
            }
            verify(cut !== null, "no organization is cut, the test proves nothing");
            var note = item("cellNote");
            mouseMove(cut, cut.width / 2, cut.height / 2);
            tryCompare(note, "visible", true);
            compare(note.text, cut.value);
            mouseMove(view, -5, -5);
            tryCompare(note, "visible", false);

            // A name of two lines: the pointer and the editor show both.
            var twoLines = cell(0, "name");
            mouseMove(twoLines, 5, 5);
            tryCompare(note, "text", "Сидоров; \"Пётр\"\nмладший");
            mouseClick(twoLines);
            var editor = findChild(twoLines, "editor");
            verify(editor.activeFocus);
            compare(editor.text, "Сидоров; \"Пётр\"\nмладший");
            verify(note.visible);
            keyClick(Qt.Key_Return);
            compare(item("jsonModel").toJson().indexOf("\\nмладший") > 0, true);
        }
    }
}
