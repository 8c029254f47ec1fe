import QtQuick 2.7
import QtTest 1.1
import QtQuick.Window 2.2
import "../../qml"
import Quillor.Lists 1.0

// On both pages: the offer of a list that a copy no longer running left unsaved, and the
// mark of changes not yet saved.
Item {
    id: container
    width: 1400
    height: 740

    Component {
        id: creationComponent
        Page1 {
            anchors.fill: parent
        }
    }

    Component {
        id: editingComponent
        Page2 {
            anchors.fill: parent
        }
    }

    PageTestCase {
        name: "Recovery"
        when: windowShown

        readonly property string training: '{"group":"5А","isGto":false,"name":"Петров Иван",' +
                                           '"organization":"Клуб"}'
        readonly property string list: "[" + training + "," + training + "," + training + "]"
        readonly property string listPath: testDir + "/оставленный.json"
        // A new file for each save: the creation page asks before it replaces one it did not
        // write.
        property int saves: 0
        property string savePath: ""
        // Each test's dead copy is another one.
        property int deadCopies: 0

        function open(kind) {
            page = createTemporaryObject(kind === "creation" ? creationComponent
                                                             : editingComponent, container);
            waitForRendering(page);
        }

        function model(kind) {
            return item(kind === "creation" ? "itemModel" : "jsonModel");
        }

        // What a copy killed with three records on the page leaves behind.
        function leaveRecoveryFile(kind) {
            var header = kind === "creation" ? '{"format":1,"page":"creation"}'
                    : '{"format":1,"keys":["group","isGto","name","organization"],' +
                      '"page":"editing","path":' + JSON.stringify(listPath) + '}';
            var file = RecoveryStore.folder + "/20240101-000000-000-" + (++deadCopies) + "." +
                       kind + ".recovery";
            compare(FileIO.save(file, header + "\n" + list), 0);
            RecoveryStore.claimOrphans();
            return file;
        }

        function save() {
            savePath = testDir + "/saved-" + (++saves) + ".json";
            page.filePath = savePath;
            mouseClick(item("saveButton"));
        }

        function test_offer_data() {
            return [
                { tag: "creation, restored", kind: "creation", restore: true },
                { tag: "creation, turned down", kind: "creation", restore: false },
                { tag: "editing, restored", kind: "editing", restore: true },
                { tag: "editing, turned down", kind: "editing", restore: false }
            ];
        }

        function test_offer(data) {
            var file = leaveRecoveryFile(data.kind);
            open(data.kind);
            var bar = item("recoveryBar");
            verify(bar.visible);
            var text = item("recoveryText").text;
            verify(/^Несохранённый список с прошлого запуска: 3 записи, \d\d\.\d\d\.\d{4} \d\d:\d\d$/
                   .test(text), text);
            // Nothing changes until a button is pressed.
            compare(model(data.kind).count, 0);
            verify(!item("unsavedMark").visible);

            item(data.restore ? "restoreButton" : "discardButton").forceActiveFocus();
            keyClick(Qt.Key_Return);
            verify(!bar.visible);
            // The keyboard goes on where an entry or a path starts.
            verify(item(data.kind === "creation" ? "textOrganization"
                                                 : "loadFileTextField").activeFocus);
            compare(model(data.kind).count, data.restore ? 3 : 0);
            compare(item("loadFileTextField").text,
                    data.restore && data.kind === "editing" ? listPath : "");
            tryCompare(item("unsavedMark"), "visible", data.restore);
            tryVerify(function () { return FileIO.readAll(file) === ""; }, 5000,
                      "the offered file is still there");

            if (data.restore) {
                // Taking up the offer is one step: what the page held before comes back.
                item("failureLabel").forceActiveFocus();
                keyClick(Qt.Key_Z, Qt.ControlModifier);
                compare(model(data.kind).count, 0);
                keyClick(Qt.Key_Y, Qt.ControlModifier);
                compare(model(data.kind).count, 3);
                save();
                compare(FileIO.readAll(savePath), list + "\n");
                verify(!item("unsavedMark").visible);
            }
        }

        function test_unsavedMark_data() {
            return [ { tag: "creation", kind: "creation" }, { tag: "editing", kind: "editing" } ];
        }

        function test_unsavedMark(data) {
            open(data.kind);
            var mark = item("unsavedMark");
            var rows = model(data.kind);
            verify(!mark.visible);
            if (data.kind === "creation") {
                rows.append(ParticipantRules.trainingRecord(
                                { group: "5А", name: "Петров", organization: "Клуб" }));
            } else {
                compare(FileIO.save(listPath, list), 0);
                page.filePath = listPath;
                mouseClick(item("loadButton"));
                compare(rows.count, 3);
                verify(!mark.visible);
                rows.remove(0);
            }
            tryCompare(mark, "visible", true);
            compare(mark.text, "Есть несохранённые изменения");
            // Beside the save button, clear of it.
            var button = item("saveButton");
            verify(mark.mapToItem(button, 0, 0).x >= button.width);

            save();
            verify(!mark.visible);
            // A list emptied after its save differs from the file.
            rows.clear();
            tryCompare(mark, "visible", true);
        }

        // No text of the page under the bar, and the form's foot in the page. The test's
        // font is larger than the program's, so the page has the window's whole height.
        function test_barCoversNothing() {
            leaveRecoveryFile("creation");
            open("creation");
            page.anchors.fill = undefined;
            page.height = 768;
            waitForRendering(page);
            var bar = item("recoveryBar");
            var covered = [];
            var walk = function (parent) {
                for (var i = 0; i < parent.children.length; ++i) {
                    var child = parent.children[i];
                    if (child !== bar && child.visible) {
                        if (child.text !== undefined && child.mapToItem(page, 0, 0).y < bar.height)
                            covered.push(child.text);
                        walk(child);
                    }
                }
            };
            walk(page);
            var save = item("saveButton");
            var foot = save.mapToItem(page, 0, save.height).y;
            mouseClick(item("discardButton"));
            compare(covered, []);
            verify(foot <= page.height, "save button cut");
        }

        // The editing page is made when its tab is opened; its offer is told before.
        function test_editingOfferAtStart() {
            leaveRecoveryFile("creation");
            leaveRecoveryFile("editing");
            var window = createTemporaryObject(Qt.createComponent("../../qml/main.qml"), null);
            var tabs = findChild(window.contentItem, "tabView");
            var editing = tabs.getTab(1);
            compare(editing.title, "Редактирование списка •");
            compare(editing.item, null);
            tryVerify(function () { return tabs.getTab(0).item !== null; });
            var creation = findChild(tabs.getTab(0).item, "recovery");
            var text = findChild(tabs.getTab(0).item, "recoveryText");
            verify(/ Ещё один — на вкладке редактирования$/.test(text.text), text.text);
            tabs.currentIndex = 1;
            tryVerify(function () { return editing.item !== null; });
            mouseClick(findChild(editing.item, "discardButton"));
            compare(editing.title, "Редактирование списка");
            verify(text.text.indexOf("вкладке") < 0, text.text);
            creation.discard();
            // The tests' window gets the keys back, for the shortcuts of later tests.
            window.destroy();
            container.Window.window.requestActivate();
            tryVerify(function () { return container.Window.active; });
        }
    }
}
