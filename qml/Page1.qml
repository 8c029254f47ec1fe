import QtQuick 2.7
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.3
import Quillor.Lists 1.0
import "controls"
import "creation"

// The creation page: one participant at a time into a validating form, the list beside it.
FocusScope {
    id: root

    // The records as the page saves them, in step with itemModel, which builds and writes
    // them; a list typed by hand is small enough to copy on every change.
    property var items: []
    property alias filePath: pathRow.filePath
    // The form fills the height below the recovery offer while that waits. Only its spacings
    // and headings, about half of it, follow the unit, so they give up twice the bar's height.
    property int pixSize: Theme.sizeUnit(height - (recoveryBar.visible ? 2 * recoveryBar.height
                                                                       : 0))

    readonly property string organization: ParticipantRules.trimName(entryForm.values.organization)
    readonly property string group: ParticipantRules.trimName(entryForm.values.group)
    readonly property string name: ParticipantRules.trimName(entryForm.values.name)
    readonly property bool isGto: modeSelector.isGto
    // One line, as the form fills the window's height.
    readonly property string repeatNotice: page.repeatNotice
    readonly property bool entryComplete: isGto
                                          ? ParticipantRules.gtoEntryComplete(entryForm.values)
                                          : ParticipantRules.trainingEntryComplete(entryForm.values)

    // The form stays filled, so the same entry can be added again at once.
    function addEntry() {
        if (!entryComplete)
            return;
        addHistory.append(isGto ? ParticipantRules.gtoRecord(entryForm.values)
                                : ParticipantRules.trainingRecord(entryForm.values));
    }

    function clearList() {
        addHistory.clear();
    }

    function syncItems() {
        var text = itemModel.toJson();
        if (text !== "")
            items = JSON.parse(text);
    }

    Component.onCompleted: itemModel.listChanged.connect(syncItems)

    // A file this page did not write in this run is replaced only when the operator says so.
    function saveList() {
        var question = page.replaceQuestion(pathRow.text);
        if (question !== "")
            overwriteQuestion.ask(question, writeList);
        else
            writeList();
    }

    // On failure the list stays, so another path can be tried.
    function writeList() {
        if (page.save(pathRow.text) > 0)
            notices.failureLabel.show();
    }

    CreationPage {
        id: page
        list: itemModel
        history: addHistory
        recovery: recovery
        gto: root.isGto
        gtoUuid: entryForm.values.gtoUuid
        pectoralNumber: entryForm.values.pectoralNumber
    }

    ParticipantListModel {
        id: itemModel
        objectName: "itemModel"
        keyOrder: ParticipantListModel.RecordOrder
    }

    // Takes back an add or a clear of the list.
    ListHistory {
        id: addHistory
        list: itemModel
    }

    // A press on "Добавить" or "Очистить список" leaves the focus where it was: in a text
    // field Ctrl+Z then takes back typing, elsewhere it takes back the add or the clear.
    PageShortcuts {
        enabled: root.visible && !overwriteQuestion.visible
        onUndo: addHistory.undo()
        onRedo: addHistory.redo()
    }

    PageRecovery {
        id: recovery
        objectName: "recovery"
        store: RecoveryStore
        model: itemModel
        history: addHistory
        page: PageRecovery.Creation
        onWriteFailed: notices.recoveryFailureLabel.show()
    }

    // The offer pushes the page down, so that it covers nothing.
    RecoveryBar {
        id: recoveryBar
        objectName: "recoveryBar"
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        recovery: recovery
        focusAfter: entryForm.firstField
    }

    RowLayout {
        anchors.top: recoveryBar.visible ? recoveryBar.bottom : parent.top
        anchors.bottom: parent.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.leftMargin: Math.round(root.pixSize / 2)
        anchors.rightMargin: Math.round(root.pixSize / 2)
        spacing: root.pixSize

        ColumnLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.alignment: Qt.AlignTop
            spacing: root.pixSize

            ModeSelector {
                id: modeSelector
                Layout.alignment: Qt.AlignHCenter
                pixSize: root.pixSize
            }

            Label {
                Layout.alignment: Qt.AlignHCenter
                text: "Новый пользователь"
                font.pixelSize: root.pixSize * 2
            }

            EntryForm {
                id: entryForm
                Layout.fillWidth: true
                pixSize: root.pixSize
                isGto: root.isGto
                overlay: root
            }

            // Tab reaches the buttons; Return works on them as well as Space.
            ColumnLayout {
                Layout.alignment: Qt.AlignHCenter
                Layout.fillWidth: true
                spacing: root.pixSize

                KeyButton {
                    id: addButton
                    objectName: "addButton"
                    Layout.alignment: Qt.AlignHCenter
                    text: "Добавить"
                    enabled: root.entryComplete
                    Accessible.description: "Добавить запись из формы в список"
                    onClicked: root.addEntry()
                }

                // Repeats are allowed; the line only tells. It sits in the spacing around
                // this empty item, so that the buttons below never move under the pointer.
                Item {
                    Layout.fillWidth: true
                    implicitHeight: 0

                    Label {
                        objectName: "repeatNotice"
                        width: parent.width
                        anchors.verticalCenter: parent.verticalCenter
                        visible: text !== ""
                        horizontalAlignment: Text.AlignHCenter
                        elide: Text.ElideRight
                        color: Theme.notice
                        text: root.repeatNotice
                        Accessible.role: Accessible.AlertMessage
                    }
                }

                KeyButton {
                    objectName: "clearButton"
                    Layout.alignment: Qt.AlignHCenter
                    text: "Очистить список"
                    Accessible.description: "Убрать все добавленные записи"
                    onClicked: root.clearList()
                }

                Label {
                    Layout.alignment: Qt.AlignHCenter
                    text: "Путь к файлу для сохранения: "
                }

                FilePathRow {
                    id: pathRow
                    Layout.fillWidth: true
                    selectExisting: false
                }

                KeyButton {
                    objectName: "saveButton"
                    Layout.alignment: Qt.AlignHCenter
                    text: "Сохранить список"
                    Accessible.description: "Записать список в файл по пути выше"
                    onClicked: root.saveList()

                    UnsavedMark {
                        objectName: "unsavedMark"
                        visible: recovery.unsaved
                    }
                }
            }

            Item {
                Layout.fillHeight: true
            }
        }

        AddedRecordsList {
            Layout.alignment: Qt.AlignTop
            pixSize: root.pixSize
            model: itemModel
            boxWidth: Math.floor(root.width / 3)
            boxHeight: Math.floor(root.height / 2)
        }
    }

    PageNotices {
        id: notices
        anchors.fill: parent
        pixSize: root.pixSize
    }

    OverwriteQuestion {
        id: overwriteQuestion
    }
}
