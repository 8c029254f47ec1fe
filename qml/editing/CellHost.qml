import QtQuick 2.7
import Quillor.Lists 1.0
import "../controls"

// What the table's cells and editors may ask of the table: texts as shown, an editor opened
// and committed, a note shown, the current cell. A cell knows nothing else of its table.
Item {
    id: host

    // The rows as shown; edits and deletes reach the list through the history.
    property ListFilterModel model: null
    property ListHistory history: null
    property ColumnFitter fitter: null
    property TableCursor cursor: null
    property Item focusSink: null
    property Component editorComponent: null
    property Component deleteButtonComponent: null
    // Per column, its title.
    property var titles: []
    readonly property alias rankCompletion: rankCompletion
    readonly property real textPadding: fitter ? fitter.textPadding : 0
    property Item hoveredCell: null
    // The cell whose editor has the focus, and the cell at the cursor's place.
    property Item editingCell: null
    property Item currentCell: null

    // Ctrl+Z or Ctrl+Y in a cell editor that has nothing of its own to take back.
    signal undoRequested()
    signal redoRequested()

    function valueText(value) {
        return value === undefined || value === null ? "" : String(value);
    }

    function shownText(role, value) {
        return fitter.shownText(role, value);
    }

    function hasSeveralLines(text) {
        return fitter.hasSeveralLines(text);
    }

    function textWidth(text) {
        return fitter.textWidth(text);
    }

    function title(column) {
        return column >= 0 && column < titles.length ? titles[column] : "";
    }

    // Ends an open edit, which commits it, by taking the focus to the sink.
    function finishEditing() {
        focusSink.forceActiveFocus();
    }

    function makeCurrent(cell) {
        cursor.moveTo(cell.row, cell.column);
    }

    // The editor starts with the cell's text, or with `typed` alone, as a spreadsheet's does.
    function openEditor(cell, typed) {
        if (!cell.editable)
            return;
        makeCurrent(cell);
        if (!cell.editor)
            cell.editor = editorComponent.createObject(cell, { cell: cell, host: host });
        var editor = cell.editor;
        if (typed === undefined || typed === "")
            editor.text = valueText(cell.value);
        editor.forceActiveFocus();
        // After the focus, so that a rank cell suggests for the typed letter.
        if (typed !== undefined && typed !== "")
            editor.text = typed;
        editor.cursorPosition = editor.text.length;
    }

    // Rows are counted as shown; the history works on the list's own rows.
    function editAt(row, role, text) {
        if (row >= 0 && row < model.count)
            history.editCell(model.sourceRow(row), role, text);
    }

    function commit(cell, text) {
        editAt(cell.row, cell.role, text);
    }

    // Return and Tab end an edit and move on, the focus to the sink.
    function commitAndMove(cell, rows, columns) {
        cell.commit(true);
        if (rows !== 0)
            cursor.moveTo(cell.row + rows, cell.column);
        else if (columns !== 0)
            cursor.step(columns > 0);
    }

    // Delete empties a cell as an edit does, a step of its own.
    function clear(row, role) {
        if (TableColumns.isEditable(role))
            editAt(row, role, "");
    }

    function removeRow(row) {
        if (row >= 0 && row < model.count)
            history.remove(model.sourceRow(row));
    }

    function showNote(cell, text) {
        if (text !== "")
            cellNote.show(cell, text);
        else
            cellNote.hide(cell);
    }

    // The pointer over a marked or cut cell shows its note after a moment.
    function hover(cell, over) {
        if (over) {
            hoveredCell = cell;
        } else if (hoveredCell === cell) {
            hoveredCell = null;
            cellNote.hide(cell);
            if (currentCell && currentCell.shownNote !== "")
                showNote(currentCell, currentCell.shownNote);
        }
    }

    CellNote {
        id: cellNote
        parent: host.parent
    }

    Timer {
        interval: 500
        running: host.hoveredCell !== null && !host.hoveredCell.editionMode
        onTriggered: host.showNote(host.hoveredCell, host.hoveredCell.noteText())
    }

    // One list for whichever rank cell is being edited.
    CompletionList {
        id: rankCompletion
        parent: host.parent
        suggestions: field ? ParticipantRules.rankSuggestions(field.text) : []
    }
}
