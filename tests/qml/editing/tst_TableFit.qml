import QtQuick 2.7
import QtTest 1.1
import "../../../qml"
import ".."

// The editing table at the program's window width: lists of any size and text length fit
// with titles and delete buttons whole, and a cut text shows whole.
Item {
    id: container
    width: 1024
    height: 740

    Component {
        id: pageComponent
        Page2 { anchors.fill: parent }
    }

    PageTestCase {
        name: "TableFit"
        when: windowShown

        readonly property string twoLines: "Сидоров; \"Пётр\"\nмладший"

        // Texts of 2 to 200 characters, the same on every run.
        function text(seed, longest) {
            var length = 2 + (seed * 7919) % (longest - 1);
            return Array(length + 1).join("ШколаЁ№5яЖ".charAt(seed % 10));
        }

        // Loaded into a page already shown, as an operator loads it; the scroll bar of a
        // long list narrows the view a frame later.
        function load(count) {
            var rows = [{ name: twoLines, organization: "Клуб", step: "6.0" }];
            for (var i = 1; i < count; ++i)
                rows.push({ name: text(i, 200), organization: text(i + 3, 200),
                            group: text(i + 5, 20), gtoUuid: String(10000000000 + i) });
            page = createTemporaryObject(pageComponent, container);
            waitForRendering(page);
            page.filePath = testDir + "/fit-" + count + ".json";
            compare(FileIO.save(page.filePath, JSON.stringify(rows)), 0);
            mouseClick(item("loadButton"));
            compare(item("jsonModel").count, count);
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
            verify(button.mapToItem(view.viewport, button.width, 0).x <= view.viewport.width);
            compare(findChild(cell(0, "name"), "cellText").text, "Сидоров; \"Пётр\" ⏎");
        }

        function test_cutTextShowsWhole() {
            var view = load(55);
            var cut = cell(2, "organization");
            verify(findChild(cut, "cellText").truncated, "nothing cut, the test proves nothing");
            var note = item("cellNote");
            mouseMove(cut, 5, 5);
            tryCompare(note, "visible", true);
            compare(note.text, cut.value);
            mouseMove(cell(0, "name"), 5, 5);
            tryCompare(note, "text", twoLines);
            // The editor keeps both lines and the note shows them while it is open.
            mouseClick(cell(0, "name"));
            compare(findChild(cell(0, "name"), "editor").text, twoLines);
            verify(note.visible);
            keyClick(Qt.Key_Return);
            compare(JSON.parse(item("jsonModel").toJson())[0].name, twoLines);
        }
    }
}
