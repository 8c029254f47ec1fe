import QtQuick 2.7
import QtQuick.Controls 1.4
import Quillor.Lists 1.0

// One cell of the participant table: its text, an editor made at the first edit, or the
// delete button of its row.
Item {
    id: cell

    // The table, for its model, its display rules and the focus sink that ends an edit.
    property var table
    property int row
    property string role
    property var value
    property color textColor
    property int elideMode
    // The row's notes on repeated values, by column key.
    property var notes
    readonly property string note: notes && notes[role] ? notes[role] : ""
    readonly property bool ranked: role === "athleticRank"

    readonly property bool editable: role !== "step" && role !== "delete"
    readonly property bool deletion: role === "delete"
    property bool editionMode: false
    // The editor is made at the cell's first edit and kept.
    property bool editorMade: false

    // Every way out of the editor keeps its text; only Return and Enter leave the focus to
    // be placed, elsewhere it has already gone.
    function commit(sinkFocus) {
        if (!editionMode)
            return;
        var text = editor.item.text;
        editionMode = false;
        table.setCell(row, role, text);
        if (sinkFocus)
            table.finishEditing();
    }

    objectName: "cell:" + row + ":" + role
    implicitWidth: deletion ? deleteButton.implicitWidth + 8 : cellText.implicitWidth + 16

    Rectangle {
        objectName: "duplicateMark"
        anchors.fill: parent
        visible: cell.note !== ""
        color: Theme.duplicate
    }

    Text {
        id: cellText
        objectName: "cellText"
        anchors.fill: parent
        anchors.leftMargin: 8
        anchors.rightMargin: 4
        verticalAlignment: Text.AlignVCenter
        visible: !cell.deletion && !cell.editionMode
        text: cell.table.displayText(cell.role, cell.value)
        color: cell.textColor
        elide: cell.elideMode
    }

    MouseArea {
        id: pointer
        anchors.fill: parent
        hoverEnabled: cell.note !== ""
        onExited: cell.table.hideNote(cell)
        onClicked: {
            if (cell.editable) {
                cell.editorMade = true;
                editor.item.forceActiveFocus();
            } else {
                cell.table.finishEditing();
            }
        }
    }

    Timer {
        interval: 500
        running: pointer.containsMouse && cell.note !== "" && !cell.editionMode
        onTriggered: cell.table.showNote(cell, cell.note)
    }

    // Cells make only the controls they use: a control in every cell makes a table slow
    // to show.
    Loader {
        id: editor
        anchors.fill: parent
        active: cell.editable && cell.editorMade
        visible: cell.editionMode
        sourceComponent: TextField {
            id: editorField

            // The table's rank suggestions while this editor has them.
            readonly property var completion: cell.ranked &&
                                              cell.table.rankCompletion.field === editorField
                                              ? cell.table.rankCompletion : null

            objectName: "editor"
            text: cell.table.valueText(cell.value)
            onActiveFocusChanged: {
                if (activeFocus && cell.ranked)
                    cell.table.rankCompletion.field = editorField;
                if (activeFocus)
                    cell.editionMode = true;
                else
                    cell.commit(false);
            }
            onTextChanged: {
                if (completion)
                    completion.typed();
            }
            // Return takes a suggestion picked with the arrows, else it ends the edit.
            onAccepted: {
                if (!completion || !completion.take())
                    cell.commit(true);
            }
            // With nothing of its own to take back, the editor leaves the undo and redo keys to
            // the table's history.
            Keys.onPressed: {
                var ctrl = (event.modifiers & Qt.ControlModifier) !== 0;
                var shift = (event.modifiers & Qt.ShiftModifier) !== 0;
                if (ctrl && event.key === Qt.Key_Z && !shift && !canUndo) {
                    event.accepted = true;
                    cell.table.undoRequested();
                } else if (ctrl && !canRedo && ((event.key === Qt.Key_Z && shift) ||
                                                (event.key === Qt.Key_Y && !shift))) {
                    event.accepted = true;
                    cell.table.redoRequested();
                }
            }
            // Closes the suggestions; the edit stays open.
            Keys.onEscapePressed: {
                if (completion)
                    completion.close();
            }
            // Tab would hand the focus to a delete button, where Space removes the row; it
            // ends the edit like Return instead.
            Keys.onTabPressed: cell.commit(true)
            Keys.onBacktabPressed: cell.commit(true)
            // The view would move its current row; the arrows pick suggestions instead.
            Keys.onUpPressed: {
                if (completion)
                    completion.move(-1);
            }
            Keys.onDownPressed: {
                if (completion)
                    completion.move(1);
            }
        }
    }

    Loader {
        id: deleteButton
        anchors.centerIn: parent
        active: cell.deletion
        sourceComponent: Button {
            objectName: "deleteButton"
            text: "Удалить"
            onClicked: {
                // An edit still open in another row commits before the rows shift.
                cell.table.finishEditing();
                cell.table.removeRow(cell.row);
            }
        }
    }
}
