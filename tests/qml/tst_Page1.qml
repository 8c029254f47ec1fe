import QtQuick 2.7
import QtTest 1.1
import "../../qml"
import Quillor.Lists 1.0

// The creation page driven as an operator drives it: clicks, typed keys, Tab.
Item {
    id: container
    // The page's size in the real window, so the size unit is the real one.
    width: 1024
    height: 740

    Component {
        id: pageComponent
        Page1 {
            anchors.fill: parent
        }
    }

    PageTestCase {
        name: "Page1"
        when: windowShown

        function init() {
            page = createTemporaryObject(pageComponent, container);
            // Layouts place their items at the next frame.
            waitForRendering(page);
        }

        function isRed(objectName) {
            var frame = findChild(item(objectName), "validationFrame");
            verify(frame !== null, objectName + " has no validation frame");
            return String(frame.border.color) === String(Theme.invalid);
        }

        function chooseSex(downs) {
            item("comboSex").forceActiveFocus();
            for (var i = 0; i < downs; ++i)
                keyClick(Qt.Key_Down);
        }

        function digits(date) {
            return date.replace(/\./g, "");
        }

        function fillGto(organization, name, birthDate) {
            typeInto("textOrganization", organization);
            typeInto("textName", name);
            typeInto("textUuid", "12345678901");
            typeInto("textBirthDate", digits(birthDate));
            chooseSex(1);
        }

        function entryText(index) {
            var list = item("addedList");
            // The list makes its lines at the next frame.
            tryVerify(function() { return list.itemAtIndex(index) !== null; });
            return list.itemAtIndex(index).text;
        }

        function add() {
            var button = item("addButton");
            verify(button.enabled, "Добавить is disabled");
            mouseClick(button);
        }

        function save(path) {
            page.filePath = path;
            mouseClick(item("saveButton"));
        }

        // Each save to a new file, which the page writes without a question.
        property int saves: 0

        function saveAndRead(fileName) {
            var path = testDir + "/" + (++saves) + "-" + fileName;
            save(path);
            return FileIO.readAll(path);
        }

        function test_startState() {
            compare(item("gtoRadioButton").checked, true);
            compare(item("trainingRadioButton").checked, false);
            compare(item("textGroup").visible, false);
            compare(item("textAge").text, "0");
            compare(item("textStep").text, "3");
            compare(item("comboSex").currentText, "Пол");
            compare(item("addButton").enabled, false);
            compare(item("failureLabel").visible, false);
            var red = ["textOrganization", "textName", "textUuid", "textBirthDate", "textAge",
                       "comboSex"];
            for (var i = 0; i < red.length; ++i)
                verify(isRed(red[i]), red[i] + " should be red");
            verify(!isRed("textStep"));
            // The untouched date field holds its two dots.
            compare(item("textBirthDate").text, "..");
        }

        function test_gtoRecord_data() {
            var required = '"gtoUuid":"12345678901","isGto":true,"name":"Ivan Petrov",'
                    + '"organization":"School 5","sex":"М","step":"6.0"';
            return [
                { tag: "required fields only", pectoral: "", rank: "", reverse: false,
                  tail: required + "}" },
                { tag: "with bib number and rank", pectoral: "17", rank: "KMS", reverse: false,
                  tail: required + ',"pectoralNumber":"17","athleticRank":"KMS"}' },
                { tag: "rank only", pectoral: "", rank: "1", reverse: false,
                  tail: required + ',"athleticRank":"1"}' },
                { tag: "filled bottom to top", pectoral: "17", rank: "KMS", reverse: true,
                  tail: required + ',"pectoralNumber":"17","athleticRank":"KMS"}' }
            ];
        }

        function test_gtoRecord(data) {
            var date = dateYearsAgo(20);
            if (data.reverse) {
                typeInto("textAthleticRank", data.rank);
                typeInto("textPectoralNumber", data.pectoral);
                chooseSex(1);
                typeInto("textBirthDate", digits(date));
                typeInto("textUuid", "12345678901");
                typeInto("textName", "Ivan Petrov");
                typeInto("textOrganization", "School 5");
            } else {
                fillGto("School 5", "Ivan Petrov", date);
                typeInto("textPectoralNumber", data.pectoral);
                typeInto("textAthleticRank", data.rank);
            }
            // Suggestions open under the rank, over "Добавить"; Escape closes them.
            if (item("completionList").visible)
                keyClick(Qt.Key_Escape);
            add();
            compare(entryText(0), "Ivan Petrov  School 5 ГТО");

            // A path typed by hand is used as typed.
            var path = testDir + "/gto " + data.tag + ".json";
            typeInto("loadFileTextField", path);
            mouseClick(item("saveButton"));
            compare(FileIO.readAll(path),
                    '[{"birthDate":"' + date + '","group":"School 5",' + data.tail + "]\n");
            compare(item("failureLabel").visible, false);
        }

        function test_step_data() {
            return [
                { tag: "5 years", age: 5, shown: "3", stored: "3.0", red: true },
                { tag: "10 years", age: 10, shown: "3", stored: "3.0", red: false },
                { tag: "35 years", age: 35, shown: "7", stored: "7.0", red: false },
                { tag: "47 years", age: 47, shown: "8.2", stored: "8.2", red: false }
            ];
        }

        function test_step(data) {
            fillGto("Club", "Anna", dateYearsAgo(data.age));
            compare(item("textAge").text, String(data.age));
            compare(item("textStep").text, data.shown);
            compare(isRed("textBirthDate"), data.red);
            compare(isRed("textAge"), data.red);
            // Any age above 0 is enough to add, even with red frames.
            add();
            compare(JSON.parse(saveAndRead("step.json"))[0].step, data.stored);
        }

        function test_trainingMode() {
            var date = dateYearsAgo(20);
            fillGto("Club", "  Ivan   Petrov ", date);
            mouseClick(item("trainingRadioButton"));
            compare(item("gtoRadioButton").checked, false);
            var gtoOnly = ["textUuid", "textBirthDate", "textAge", "comboSex", "textStep",
                           "textPectoralNumber", "textAthleticRank"];
            for (var i = 0; i < gtoOnly.length; ++i) {
                compare(item(gtoOnly[i]).visible, false, gtoOnly[i]);
                compare(item(gtoOnly[i] + "Label").visible, false, gtoOnly[i] + "Label");
            }
            compare(item("textGroup").visible, true);
            compare(item("textGroupLabel").visible, true);
            verify(isRed("textGroup"));
            compare(item("addButton").enabled, false);

            typeInto("textGroup", "5A");
            verify(!isRed("textGroup"));
            add();
            compare(entryText(0), "Ivan Petrov  Club");

            // Back in GTO mode the hidden fields still hold their text, so the GTO entry
            // can be added straight away; the list keeps both kinds in order.
            mouseClick(item("gtoRadioButton"));
            compare(item("textGroup").visible, false);
            add();
            compare(entryText(1), "Ivan Petrov  Club ГТО");
            compare(saveAndRead("training.json"),
                    '[{"group":"5A","isGto":false,"name":"Ivan Petrov","organization":"Club"},'
                    + '{"birthDate":"' + date + '","group":"Club","gtoUuid":"12345678901",'
                    + '"isGto":true,"name":"Ivan Petrov","organization":"Club","sex":"М",'
                    + '"step":"6.0"}]\n');
        }

        function test_spacesOnlyKeepAddDisabled_data() {
            return [
                { tag: "name", field: "textName", training: false },
                { tag: "organization", field: "textOrganization", training: false },
                { tag: "group", field: "textGroup", training: true }
            ];
        }

        function test_spacesOnlyKeepAddDisabled(data) {
            if (data.training)
                mouseClick(item("trainingRadioButton"));
            var others = ["textOrganization", "textName", "textGroup"];
            for (var i = 0; i < others.length; ++i) {
                if (others[i] !== data.field && item(others[i]).visible)
                    typeInto(others[i], "x");
            }
            if (!data.training) {
                typeInto("textUuid", "12345678901");
                typeInto("textBirthDate", digits(dateYearsAgo(30)));
                chooseSex(2);
            }
            typeInto(data.field, "   ");
            verify(!isRed(data.field));
            compare(item("addButton").enabled, false);
            keyClick(Qt.Key_A);
            compare(item("addButton").enabled, true);
        }

        function test_sameEntryTwiceThenClear() {
            fillGto("Club", "Anna", dateYearsAgo(20));
            add();
            add();
            var saved = saveAndRead("twice.json");
            compare(JSON.parse(saved).length, 2);
            compare(item("itemModel").count, 2);
            // The page's records are what it saves.
            compare(JSON.stringify(page.items) + "\n", saved);

            mouseClick(item("clearButton"));
            compare(item("itemModel").count, 0);
            compare(page.items.length, 0);
            compare(saveAndRead("cleared.json"), "[]\n");
            item("clearButton").forceActiveFocus();
            keyClick(Qt.Key_Z, Qt.ControlModifier);
            compare(JSON.stringify(page.items) + "\n", saved);
        }

        function test_longListScrolls() {
            var list = item("addedList");
            var bar = item("addedScrollBar");
            mouseClick(item("trainingRadioButton"));
            typeInto("textOrganization", "Club");
            typeInto("textGroup", "5A");
            typeInto("textName", "Anna");
            add();
            waitForRendering(list);
            compare(bar.visible, false);

            for (var i = 1; i < 60; ++i)
                add();
            waitForRendering(list);
            verify(bar.visible, "a list longer than its box shows no scroll bar");
            verify(list.atYBeginning);

            // A press on the track below the handle pages down by one box height.
            mousePress(bar, bar.width / 2, bar.height - 2);
            mouseRelease(bar, bar.width / 2, bar.height - 2);
            tryCompare(list, "contentY", list.originY + list.height);

            // Dragging the handle to the end shows the last entry.
            var handle = findChild(bar, "scrollHandle");
            mousePress(handle, handle.width / 2, 2);
            mouseMove(bar, bar.width / 2, bar.height + 50);
            mouseRelease(bar, bar.width / 2, bar.height + 50);
            verify(list.atYEnd, "the handle dragged to the end does not show the last entry");
        }

        function test_failedSaveKeepsList_data() {
            return [
                { tag: "missing folder", path: testDir + "/no-such-folder/list.json" },
                { tag: "empty path", path: "" }
            ];
        }

        function test_failedSaveKeepsList(data) {
            fillGto("Club", "Anna", dateYearsAgo(20));
            add();
            var notice = item("failureLabel");
            save(data.path);
            compare(notice.visible, true);
            verify(notice.opacity > 0);
            compare(item("itemModel").count, 1);
            compare(item("textName").text, "Anna");

            var records = JSON.parse(saveAndRead("after-failure.json"));
            compare(records.length, 1);
            compare(records[0].name, "Anna");
        }

        function test_escapingAndCyrillic() {
            var date = dateYearsAgo(20);
            fillGto("Club", 'Say "hi" a\\b', date);
            // Tabs and control characters cannot be typed into a line; they come by pasting.
            var rank = item("textAthleticRank");
            rank.insert(0, "I\tII\u001f");
            var pectoral = item("textPectoralNumber");
            pectoral.insert(0, "Щ/1");
            var organization = item("textOrganization");
            organization.remove(0, organization.length);
            organization.insert(0, "Школа №5");

            add();
            compare(saveAndRead("escaped.json"),
                    '[{"birthDate":"' + date + '","group":"Школа №5","gtoUuid":"12345678901",'
                    + '"isGto":true,"name":"Say \\"hi\\" a\\\\b","organization":"Школа №5",'
                    + '"sex":"М","step":"6.0","pectoralNumber":"Щ/1",'
                    + '"athleticRank":"I\\tII\\u001f"}]\n');
        }

        function test_identificationNumber_data() {
            return [
                { tag: "ten digits", keys: "1234567890", text: "1234567890", ok: false },
                { tag: "eleven digits", keys: "12345678901", text: "12345678901", ok: true },
                { tag: "letters refused", keys: "1a2b3c4d5e6f7g8h9i0j1", text: "12345678901",
                  ok: true },
                { tag: "twelfth digit refused", keys: "123456789012", text: "12345678901",
                  ok: true }
            ];
        }

        function test_identificationNumber(data) {
            typeInto("textOrganization", "Club");
            typeInto("textName", "Anna");
            typeInto("textBirthDate", digits(dateYearsAgo(20)));
            chooseSex(1);
            typeInto("textUuid", data.keys);
            compare(item("textUuid").text, data.text);
            compare(isRed("textUuid"), !data.ok);
            compare(item("addButton").enabled, data.ok);
        }

        // A press anywhere puts the cursor at the start and never selects.
        function test_maskedFieldsIgnorePointerPosition() {
            // The first of this month twenty years ago: twenty years old today.
            var born = "01" + dateYearsAgo(20).substring(2);
            fillGto("Club", "Anna", born);
            var date = item("textBirthDate");
            var uuid = item("textUuid");
            mouseDrag(uuid, 2, uuid.height / 2, uuid.width - 4, 0);
            compare(uuid.selectedText, "");

            mouseClick(date, date.width - 10, date.height / 2);
            verify(date.activeFocus);
            compare(date.cursorPosition, 0);
            keyClick(Qt.Key_Delete);
            // One day digit gone still counts as a date.
            var shortDay = born.substring(1);
            compare(date.text, shortDay);
            compare(item("textAge").text, "20");
            add();
            compare(JSON.parse(saveAndRead("short-day.json"))[0].birthDate, shortDay);
        }

        function test_keyboardOnly() {
            item("gtoRadioButton").forceActiveFocus();
            keyClick(Qt.Key_Tab);
            verify(item("trainingRadioButton").activeFocus);
            keyClick(Qt.Key_Tab);
            verify(item("textOrganization").activeFocus);
            type("Club");
            keyClick(Qt.Key_Tab);
            type("Anna");
            keyClick(Qt.Key_Tab);
            type("12345678901");
            keyClick(Qt.Key_Tab);
            type(digits(dateYearsAgo(20)));
            // The age field is read-only and skipped.
            keyClick(Qt.Key_Tab);
            verify(item("comboSex").activeFocus);
            keyClick(Qt.Key_Down);
            keyClick(Qt.Key_Tab);
            verify(item("textPectoralNumber").activeFocus);
            type("7");
            keyClick(Qt.Key_Tab);
            type("III");
            keyClick(Qt.Key_Tab);
            verify(item("addButton").activeFocus);
            keyClick(Qt.Key_Return);
            keyClick(Qt.Key_Space);
            compare(item("itemModel").count, 2);

            keyClick(Qt.Key_Tab);
            verify(item("clearButton").activeFocus);
            keyClick(Qt.Key_Tab);
            keyClick(Qt.Key_Tab);
            verify(item("loadFileTextField").activeFocus);
            var path = testDir + "/keyboard.json";
            type(path);
            keyClick(Qt.Key_Tab);
            verify(item("saveButton").activeFocus);
            keyClick(Qt.Key_Return);
            var records = JSON.parse(FileIO.readAll(path));
            compare(records.length, 2);
            compare(records[1].athleticRank, "III");
        }

        // A file this page did not write is replaced only when the operator says so; one it
        // wrote itself in this run is saved over without a question.
        function test_replacingAFileAsksUnlessThisPageWroteIt() {
            var path = testDir + "/creation-existing.json";
            compare(FileIO.save(path, '[{"name":"Чужой"}]'), 0);
            var question = item("overwriteQuestion");
            save(path);
            compare(question.visible, true);
            compare(item("overwriteQuestionText").text,
                    "Файл «creation-existing.json» уже существует. Заменить его?\n" +
                    "Это список участников: 1 запись.");
            keyClick(Qt.Key_Escape);
            compare(question.visible, false);
            compare(FileIO.readAll(path), '[{"name":"Чужой"}]\n');

            save(path);
            mouseClick(item("replaceButton"));
            compare(FileIO.readAll(path), "[]\n");
            save(path);
            compare(question.visible, false);
            compare(item("failureLabel").visible, false);
        }
    }
}
