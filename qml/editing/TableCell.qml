import QtQuick 2.7
import Quillor.Lists 1.0

// One cell of the participant table: its text on the colour that marks a repeated value,
// an editor made at the cell's first edit, or the delete button of its row. A table shows
// many cells at once, so a cell makes only what it uses and the table holds what they share:
// the editor's and the button's components and the timer of the notes.
Rectangle {
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
    readonly property bool marked: note !== ""
    readonly property string shownText: table.displayText(role, value)
    readonly property bool ranked: role === "athleticRank"
    readonly property bool editable: TableColumns.isEditable(role)
    readonly property bool deletion: role === "delete"
    property bool editionMode: false
    property Item editor: null
    property Item deleteButton: null

    // What the note under the pointer says: the whole text where the cell shows less of it,
    // elided or of several lines, and the repeats. Asked only while the pointer rests.
    function noteText() {
        var whole = table.valueText(value);
        var cut = !deletion && (cellText.truncated || table.hasSeveralLines(whole));
        return cut ? (marked ? whole + "\n\n" + note : whole) : note;
    }

    // Every way out of the editor keeps its text; only Return and Enter leave the focus to
    // be placed, elsewhere it has already gone.
    function commit(sinkFocus) {
        if (!editionMode)
            return;
        var text = editor.text;
        editionMode = false;
        table.setCell(row, role, text);
        if (sinkFocus)
            table.finishEditing();
    }

    objectName: "cell:" + row + ":" + role
    implicitWidth: deletion ? (deleteButton ? deleteButton.implicitWidth : 0) + 8
                            : cellText.implicitWidth + 16
    color: marked ? Theme.duplicate : "transparent"
    Component.onCompleted: {
        if (deletion)
            deleteButton = table.deleteButtonComponent.createObject(cell, { cell: cell });
    }

    Text {
        id: cellText
        objectName: "cellText"
        anchors.fill: parent
        anchors.leftMargin: 8
        anchors.rightMargin: 4
        verticalAlignment: Text.AlignVCenter
        visible: !cell.deletion && !cell.editionMode
        text: cell.shownText
        color: cell.textColor
        elide: cell.elideMode
    }

    MouseArea {
        anchors.fill: parent
        hoverEnabled: true
        onContainsMouseChanged: cell.table.hover(cell, containsMouse)
        onClicked: {
            if (!cell.editable) {
                cell.table.finishEditing();
                return;
            }
            if (!cell.editor)
                cell.editor = cell.table.editorComponent.createObject(cell, { cell: cell });
            cell.editor.forceActiveFocus();
        }
    }
}
