import QtQuick 2.7
import QtQuick.Window 2.2

// The table's current cell and the keys that move it, as in a spreadsheet. It holds the
// keyboard once the focus has come into the table itself, by Tab or from the find field,
// through the edits started there and while the page's focus sink has the focus after them.
// A cell edit started by a click, or a delete button, leaves the keys where they were.
//
// Tab passes over the table, one stop in the page, until another of its keys has been used;
// then it runs through the cells, and Ctrl+Tab leaves.
Item {
    id: cursor

    // The table, whose own focus brings the keys here, and the item that takes the focus
    // when an edit ends.
    property Item view: null
    property Item sink: null
    property int rowCount: 0
    property int columnCount: 0
    // Rows in sight, for Page Up and Page Down.
    property int pageRows: 1
    property int row: 0
    property int column: 0
    // While an editor is open the keys are the editor's.
    property bool editing: false
    // Whether the keys go to the table: the focus went into it and has not gone elsewhere.
    property bool engaged: false
    property bool tabMoves: false
    readonly property bool shown: engaged && rowCount > 0
    readonly property Item focusItem: Window.activeFocusItem

    // F2 and Return with `typed` empty, a typed character with that character.
    signal editRequested(string typed)
    signal clearRequested()
    signal removeRequested()

    function moveTo(newRow, newColumn) {
        row = Math.max(0, Math.min(rowCount - 1, newRow));
        column = Math.max(0, Math.min(columnCount - 1, newColumn));
    }

    // Tab runs along the row into the next one; past the first or last cell it leaves the
    // table.
    function step(forward) {
        var at = row * columnCount + column + (forward ? 1 : -1);
        if (at < 0 || at >= rowCount * columnCount)
            return false;
        moveTo(Math.floor(at / columnCount), at % columnCount);
        return true;
    }

    // The current cell in sight while the table holds the keys; a load or a click moves no
    // rows. The columns left of the cell are counted from the view's start: the view is a
    // table view, whose flickable scrolls the columns.
    function showCell() {
        if (!shown)
            return;
        view.positionViewAtRow(row, ListView.Contain);
        var left = 0;
        for (var i = 0; i < column; ++i)
            left += view.getColumn(i).width;
        var right = left + view.getColumn(column).width;
        var list = view.flickableItem;
        if (left < list.contentX)
            list.contentX = left;
        else if (right > list.contentX + view.viewport.width)
            list.contentX = Math.min(left, right - view.viewport.width);
    }

    // Ctrl+Tab leaves the table at once, as Tab does past its last cell.
    function leave(forward) {
        var next = view.nextItemInFocusChain(forward);
        if (next)
            next.forceActiveFocus();
    }

    function within(item, ancestor) {
        for (var at = item; at; at = at.parent) {
            if (at === ancestor)
                return true;
        }
        return false;
    }

    // In a cell's editor or button, or on a title, rather than on the table itself.
    function inPart(item) {
        for (var at = item; at && at !== view; at = at.parent) {
            if (/^(cell|header):/.test(at.objectName))
                return true;
        }
        return false;
    }

    function press(event) {
        var fromView = view.activeFocus && !view.headerFocused && !editing;
        if (!engaged || !(fromView || sink.activeFocus) || rowCount === 0)
            return;
        var ctrl = (event.modifiers & Qt.ControlModifier) !== 0;
        var plain = (event.modifiers & ~(Qt.ShiftModifier | Qt.KeypadModifier)) === 0;
        var handled = true;
        switch (event.key) {
        case Qt.Key_Up: moveTo(row - 1, column); break;
        case Qt.Key_Down: moveTo(row + 1, column); break;
        case Qt.Key_Left: moveTo(row, column - 1); break;
        case Qt.Key_Right: moveTo(row, column + 1); break;
        case Qt.Key_PageUp: moveTo(row - pageRows, column); break;
        case Qt.Key_PageDown: moveTo(row + pageRows, column); break;
        case Qt.Key_Home: moveTo(ctrl ? 0 : row, 0); break;
        case Qt.Key_End: moveTo(ctrl ? rowCount - 1 : row, columnCount - 1); break;
        case Qt.Key_Tab:
        case Qt.Key_Backtab:
            var forward = event.key === Qt.Key_Tab && (event.modifiers & Qt.ShiftModifier) === 0;
            if (!ctrl && !tabMoves)
                return;
            if (ctrl || !step(forward))
                leave(forward);
            break;
        case Qt.Key_F2:
        case Qt.Key_Return:
        case Qt.Key_Enter:
            showCell();
            editRequested("");
            break;
        case Qt.Key_Delete:
            if (ctrl)
                removeRequested();
            else
                clearRequested();
            break;
        default:
            handled = plain && event.text !== "" && event.text.charCodeAt(0) >= 32 &&
                      event.text.charCodeAt(0) !== 127;
            if (handled) {
                showCell();
                editRequested(event.text);
            }
        }
        event.accepted = handled;
        if (handled && event.key !== Qt.Key_Tab && event.key !== Qt.Key_Backtab)
            tabMoves = true;
    }

    // Leaving the table for another control ends its hold on the keys; the sink, which
    // takes the focus at the end of every edit, and the table's editors keep it as it is.
    onFocusItemChanged: {
        if (!focusItem || focusItem === sink || (within(focusItem, view) && inPart(focusItem) &&
                                                 !/^header:/.test(focusItem.objectName)))
            return;
        engaged = within(focusItem, view) && !inPart(focusItem);
    }
    onEngagedChanged: {
        if (!engaged)
            tabMoves = false;
    }
    // Keys come here when the focus is brought to the table from outside it.
    Keys.onPressed: press(event)
    onRowCountChanged: moveTo(row, column)
    onRowChanged: showCell()
    onColumnChanged: showCell()
    onShownChanged: showCell()
}
