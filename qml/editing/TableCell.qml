import QtQuick 2.7
import Quillor.Lists 1.0

// One cell of the participant table: its text on the colour that marks a repeated value,
// an editor made at the cell's first edit, or the delete button of its row. A table shows
// many cells at once, so a cell makes only what it uses and its host holds what they share:
// the editor's and the button's components and the timer of the notes.
Rectangle {
    id: cell

    property CellHost host
    property int row
    property int column
    property string role
    property var value
    property color textColor
    property int elideMode
    // The row's notes on repeated values, by column key.
    property var notes
    readonly property string note: notes && notes[role] ? notes[role] : ""
    readonly property bool marked: note !== ""
    readonly property string shownText: host.shownText(role, value)
    readonly property bool ranked: role === "athleticRank"
    readonly property bool editable: TableColumns.isEditable(role)
    readonly property bool deletion: role === "delete"
    property bool editionMode: false
    property Item editor: null
    property Item deleteButton: null
    readonly property bool current: host.cursor.row === row && host.cursor.column === column
    // The current cell wears the frame while the table holds the keys.
    readonly property bool framed: current && host.cursor.shown
    // What the note beside the cell says now: an editor's whole text while it shows less,
    // the current cell's whole text or repeats.
    readonly property string shownNote: editionMode ? (editor && editor.noting ? editor.text : "")
                                                    : (framed ? noteText() : "")

    // The whole text where the cell shows less of it, elided or of several lines, and the
    // repeats.
    function noteText() {
        var whole = host.valueText(value);
        var cut = !deletion && (cellText.truncated || host.hasSeveralLines(whole));
        return cut ? (marked ? whole + "\n\n" + note : whole) : note;
    }

    // Every way out of the editor keeps its text; only Return, Enter and Tab leave the focus
    // to be placed, elsewhere it has already gone.
    function commit(sinkFocus) {
        if (!editionMode)
            return;
        var text = editor.text;
        editionMode = false;
        host.commit(cell, text);
        if (sinkFocus)
            host.finishEditing();
    }

    objectName: "cell:" + row + ":" + role
    implicitWidth: deletion ? (deleteButton ? deleteButton.implicitWidth : 0) + host.textPadding / 2
                            : cellText.implicitWidth + host.textPadding
    color: marked ? Theme.duplicate : "transparent"
    border.width: framed ? 2 : 0
    border.color: Theme.focusFrame
    onShownNoteChanged: host.showNote(cell, shownNote)
    onCurrentChanged: {
        if (current)
            host.currentCell = cell;
        else if (host.currentCell === cell)
            host.currentCell = null;
    }
    Component.onCompleted: {
        if (current)
            host.currentCell = cell;
        if (deletion)
            deleteButton = host.deleteButtonComponent.createObject(cell,
                                                                   { cell: cell, host: host });
    }
    Accessible.role: Accessible.Cell
    Accessible.name: host.title(column) + ", строка " + (row + 1)
    Accessible.description: deletion ? "Удаление строки"
                                     : (shownText !== "" ? shownText : "пусто") +
                                       (marked ? ". " + note : "")

    Text {
        id: cellText
        objectName: "cellText"
        anchors.fill: parent
        anchors.leftMargin: cell.host.textPadding / 2
        anchors.rightMargin: cell.host.textPadding / 4
        verticalAlignment: Text.AlignVCenter
        visible: !cell.deletion && !cell.editionMode
        text: cell.shownText
        color: cell.textColor
        elide: cell.elideMode
    }

    // A click on a cell that takes no edit makes it current and ends any open edit.
    MouseArea {
        anchors.fill: parent
        hoverEnabled: true
        onContainsMouseChanged: cell.host.hover(cell, containsMouse)
        onClicked: {
            if (cell.editable) {
                cell.host.openEditor(cell);
                return;
            }
            if (!cell.deletion)
                cell.host.makeCurrent(cell);
            cell.host.finishEditing();
        }
    }
}
