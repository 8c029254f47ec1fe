import QtQuick 2.7
import QtQuick.Controls 1.4

// The editor of a table cell, made at the cell's first edit and kept: it shows while the
// cell is in edition mode, and every way out of it commits its text.
TextField {
    id: editorField

    property Item cell
    property var table
    // The table's rank suggestions while this editor has them.
    readonly property var completion: cell.ranked && table.rankCompletion.field === editorField
                                      ? table.rankCompletion : null

    // The field shows a text of several lines on one, and a long one only in part.
    readonly property bool showsWhole: table.textWidth(text) <= width - 8 &&
                                       !table.hasSeveralLines(text)
    readonly property bool noting: activeFocus && !showsWhole &&
                                   !(completion && completion.showing)

    objectName: "editor"
    onNotingChanged: table.noteEdit(cell, noting ? text : "")
    anchors.fill: parent
    visible: cell.editionMode
    text: table.valueText(cell.value)
    onActiveFocusChanged: {
        if (activeFocus && cell.ranked)
            table.rankCompletion.field = editorField;
        if (activeFocus)
            cell.editionMode = true;
        else
            cell.commit(false);
    }
    onTextChanged: {
        if (completion)
            completion.typed();
        if (noting)
            table.noteEdit(cell, text);
    }
    // Return takes a suggestion picked with the arrows, else it ends the edit.
    onAccepted: {
        if (!completion || !completion.take())
            cell.commit(true);
    }
    // With nothing of its own to take back, the editor leaves the undo and redo keys to the
    // table's history.
    Keys.onPressed: {
        var ctrl = (event.modifiers & Qt.ControlModifier) !== 0;
        var shift = (event.modifiers & Qt.ShiftModifier) !== 0;
        if (ctrl && event.key === Qt.Key_Z && !shift && !canUndo) {
            event.accepted = true;
            table.undoRequested();
        } else if (ctrl && !canRedo && ((event.key === Qt.Key_Z && shift) ||
                                        (event.key === Qt.Key_Y && !shift))) {
            event.accepted = true;
            table.redoRequested();
        }
    }
    // Closes the suggestions; the edit stays open.
    Keys.onEscapePressed: {
        if (completion)
            completion.close();
    }
    // Tab would hand the focus to a delete button, where Space removes the row; it ends the
    // edit like Return instead.
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
