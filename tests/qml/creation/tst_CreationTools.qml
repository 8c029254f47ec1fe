import QtQuick 2.7
import QtTest 1.1
import "../../../qml"
import ".."

// The creation page's undo, its line on numbers already in the list, the rank suggestions
// and the added-records list's long names.
Item {
    id: container
    width: 1024
    height: 740

    Component {
        id: pageComponent
        Page1 {
            anchors.fill: parent
        }
    }

    PageTestCase {
        name: "CreationTools"
        when: windowShown

        function init() {
            page = createTemporaryObject(pageComponent, container);
            waitForRendering(page);
        }

        function fillGto(name, uuid, bib) {
            typeInto("textOrganization", "Club");
            typeInto("textName", name);
            typeInto("textUuid", uuid);
            typeInto("textBirthDate", dateYearsAgo(20).replace(/\./g, ""));
            item("comboSex").forceActiveFocus();
            keyClick(Qt.Key_Down);
            typeInto("textPectoralNumber", bib);
        }

        function names() {
            var model = item("itemModel");
            var list = JSON.parse(model.toJson());
            return list.map(function (record) { return record.name; }).join();
        }

        // A press on a button leaves the focus where it was. In a text field Ctrl+Z is the
        // field's, even with nothing typed to take back; elsewhere it reaches the list.
        function test_ctrlZTakesBackAddAndClear() {
            fillGto("Anna", "12345678901", "");
            mouseClick(item("addButton"));
            verify(item("textPectoralNumber").activeFocus, "the button took the focus");
            keyClick(Qt.Key_Z, Qt.ControlModifier);
            compare(names(), "Anna");
            typeInto("textName", "");
            keyClick(Qt.Key_A, Qt.ControlModifier);
            type("Boris");
            mouseClick(item("addButton"));
            compare(names(), "Anna,Boris");
            keyClick(Qt.Key_Z, Qt.ControlModifier);
            verify(item("textName").text !== "Boris", "typing not taken back");
            compare(names(), "Anna,Boris");

            item("comboSex").forceActiveFocus();
            mouseClick(item("clearButton"));
            compare(names(), "");
            verify(item("comboSex").activeFocus);
            keyClick(Qt.Key_Z, Qt.ControlModifier);
            compare(names(), "Anna,Boris");
            keyClick(Qt.Key_Y, Qt.ControlModifier);
            compare(names(), "");
        }

        // Where the buttons below the line are, in the page.
        function buttonPlaces() {
            return ["clearButton", "loadPathButton", "saveButton"].map(function (name) {
                var place = item(name).mapToItem(page, 0, 0);
                return name + " " + place.x + "," + place.y;
            }).join("; ");
        }

        function test_repeatLine() {
            var line = item("repeatNotice");
            fillGto("Anna", "12345678901", "17");
            compare(line.visible, false);
            var places = buttonPlaces();
            mouseClick(item("addButton"));
            verify(line.visible);
            // Layouts settle before the frame.
            waitForRendering(page);
            compare(buttonPlaces(), places);
            compare(line.text, "УИН уже есть в списке: запись 1; " +
                               "нагрудный номер уже есть в списке: запись 1");
            verify(line.visible);
            // Adding again is still allowed.
            mouseClick(item("addButton"));
            compare(item("itemModel").count, 2);
            compare(line.text, "УИН уже есть в списке: записи 1, 2; " +
                               "нагрудный номер уже есть в списке: записи 1, 2");
            typeInto("textUuid", "10987654321");
            compare(line.text, "Нагрудный номер уже есть в списке: записи 1, 2");
            typeInto("textPectoralNumber", "8");
            compare(line.visible, false);
            typeInto("textUuid", "12345678901");
            compare(line.text, "УИН уже есть в списке: записи 1, 2");
            mouseClick(item("clearButton"));
            compare(line.visible, false);
        }

        function test_rankSuggestions_data() {
            return [
                { tag: "arrows and Return", typed: "м", keys: [Qt.Key_Down, Qt.Key_Down,
                  Qt.Key_Return], click: -1, shown: ["МС", "МСМК"], stored: "МСМК" },
                { tag: "mouse", typed: "К", keys: [], click: 0, shown: ["КМС"], stored: "КМС" },
                { tag: "Return without a pick", typed: "З", keys: [Qt.Key_Return], click: -1,
                  shown: ["ЗМС"], stored: "З" },
                { tag: "a rank typed out", typed: "КМС", keys: [], click: -1, shown: [],
                  stored: "КМС" },
                { tag: "a rank that begins longer ones", typed: "1", keys: [Qt.Key_Return],
                  click: -1, shown: ["1ю", "1"], stored: "1" },
                { tag: "anything else as typed", typed: "2 взр", keys: [], click: -1, shown: [],
                  stored: "2 взр" }
            ];
        }

        function test_rankSuggestions(data) {
            fillGto("Anna", "12345678901", "");
            // Test keys are Latin only: the text comes in as a whole while the field has
            // the focus, as the keys would bring it.
            typeInto("textAthleticRank", "");
            item("textAthleticRank").text = data.typed;
            var list = item("completionList");
            compare(list.visible, data.shown.length > 0);
            compare(list.suggestions, data.shown);
            if (list.visible)
                verify(list.mapToItem(item("textAthleticRank"), 0, 0).y >=
                       item("textAthleticRank").height, "the suggestions are not under the rank");
            for (var i = 0; i < data.keys.length; ++i)
                keyClick(data.keys[i]);
            if (data.click >= 0) {
                var rows = [];
                for (var j = 0; j < list.children[0].children.length; ++j) {
                    if (list.children[0].children[j].objectName === "suggestion")
                        rows.push(list.children[0].children[j]);
                }
                mouseClick(rows[data.click]);
            }
            compare(item("textAthleticRank").text, data.stored);
            verify(item("textAthleticRank").activeFocus);
            compare(list.visible, false);
            mouseClick(item("addButton"));
            compare(JSON.parse(item("itemModel").toJson())[0].athleticRank, data.stored);
        }

        function test_longNameKeepsItsMark() {
            fillGto("Anna", "12345678901", "");
            // Test keys are Latin only.
            item("textName").text = "Константинопольская-Преображенская Александра-Виктория";
            mouseClick(item("addButton"));
            var entry;
            tryVerify(function () {
                entry = item("addedList").itemAtIndex(0);
                return entry !== null;
            });
            var name = findChild(entry, "addedName");
            var tail = findChild(entry, "addedTail");
            verify(name.truncated, "the name fits, the test proves nothing");
            verify(!tail.truncated, "the organization and mark are cut");
            compare(tail.text, "  Club ГТО");
            verify(name.x + name.width <= tail.x && tail.x + tail.width <= entry.width);
        }
    }
}
