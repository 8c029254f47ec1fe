import QtQuick 2.7
import QtQuick.Controls 1.4

// The editor of a table cell, made at the cell's first edit and kept: it shows while the
// cell is in edition mode, and every way out of it commits its text. Escape cancels nothing.
TextField {
    id: editorField

    property Item cell
    property CellHost host
    // The table's rank suggestions while this editor has them.
    readonly property var completion: cell.ranked && host.rankCompletion.field === editorField
                                      ? host.rankCompletion : null

    // The field shows a text of several lines on one, and a long one only in part.
    readonly property bool showsWhole: host.textWidth(text) <= width - host.textPadding / 2 &&
                                       !host.hasSeveralLines(text)
    readonly property bool noting: activeFocus && !showsWhole &&
                                   !(completion && completion.showing)

    objectName: "editor"
    anchors.fill: parent
    visible: cell.editionMode
    Accessible.name: cell.Accessible.name
    Accessible.description: "Правка ячейки"
    onActiveFocusChanged: {
        if (activeFocus && cell.ranked)
            host.rankCompletion.field = editorField;
        if (activeFocus) {
            cell.editionMode = true;
            host.editingCell = cell;
        } else {
            if (host.editingCell === cell)
                host.editingCell = null;
            cell.commit(false);
        }
    }
    onTextChanged: {
        if (completion)
            completion.typed();
    }
    // Return takes a suggestion picked with the arrows, else it ends the edit and goes one
    // row down. The key goes no further, where it would open the next cell's edit.
    function accept() {
        if (!completion || !completion.take())
            host.commitAndMove(cell, 1, 0);
    }

    Keys.onReturnPressed: accept()
    Keys.onEnterPressed: accept()
    // With nothing of its own to take back, the editor leaves the undo and redo keys to the
    // table's history.
    Keys.onPressed: {
        var ctrl = (event.modifiers & Qt.ControlModifier) !== 0;
        var shift = (event.modifiers & Qt.ShiftModifier) !== 0;
        if (ctrl && event.key === Qt.Key_Z && !shift && !canUndo) {
            event.accepted = true;
            host.undoRequested();
        } else if (ctrl && !canRedo && ((event.key === Qt.Key_Z && shift) ||
                                        (event.key === Qt.Key_Y && !shift))) {
            event.accepted = true;
            host.redoRequested();
        }
    }
    // Closes the suggestions; the edit stays open.
    Keys.onEscapePressed: {
        if (completion)
            completion.close();
    }
    // Tab would hand the focus to a delete button, where Space removes the row; it ends the
    // edit and moves to the next cell instead.
    Keys.onTabPressed: host.commitAndMove(cell, 0, 1)
    Keys.onBacktabPressed: host.commitAndMove(cell, 0, -1)
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
