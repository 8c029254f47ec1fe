import QtQuick 2.7
import QtQuick.Controls 1.4
import QtQuick.Window 2.2
import Quillor.Lists 1.0
import "../controls"

// The editing table: one row per record, cells edited in place, a delete button per row,
// titles that sort. Its model is the list's filter; every change goes through the history.
TableView {
    id: lolView

    // Takes the focus when an edit ends, which commits it.
    property Item focusSink

    // Ctrl+Z or Ctrl+Y in a cell editor that has nothing of its own to take back.
    signal undoRequested()
    signal redoRequested()
    property ListHistory history
    readonly property string sortRole: history ? history.sortKey : ""
    readonly property bool sortDescending: history ? history.sortDescending : false
    // The title that Space sorts by while the header has the focus.
    property int headerColumn: 0
    property bool headerFocused: false
    readonly property real arrowRoom: fitter.arrowRoom
    readonly property real titleHeight: fontMetrics.height * 2
    // Tall enough for the delete button and the cell editor.
    readonly property real rowHeight: rowSizeProbe.implicitHeight + 2
    property bool syncingIndicator: false
    // Beyond the rows in sight, the view keeps this much of the list made.
    readonly property int rowsAround: 320
    readonly property alias rankCompletion: rankCompletion
    property Item hoveredCell: null
    // Changes with the window's width and with the scroll bar that comes and goes.
    readonly property real viewWidth: viewport.width
    // The widest text of each column in the rows measured at the last fit.
    property var contentWidths: []
    readonly property alias editorComponent: editorComponent
    readonly property alias deleteButtonComponent: deleteButtonComponent

    // A new list makes only the rows in sight before the frame that shows it; the rows
    // around them, which make scrolling smooth, follow once that frame is out.
    function showRowsFirst() {
        __listView.cacheBuffer = 0;
        var window = Window.window;
        if (!window)
            return;
        var restore = function () {
            window.frameSwapped.disconnect(restore);
            __listView.cacheBuffer = rowsAround;
        };
        window.frameSwapped.connect(restore);
    }

    function finishEditing() {
        focusSink.forceActiveFocus();
    }

    // Rows are counted as shown; the history works on the list's own rows.
    function setCell(row, role, text) {
        if (row >= 0 && row < model.count)
            history.editCell(model.sourceRow(row), role, text);
    }

    function removeRow(row) {
        if (row >= 0 && row < model.count)
            history.remove(model.sourceRow(row));
    }

    function sortColumn(index) {
        var role = index >= 0 && index < columnCount ? getColumn(index).role : "delete";
        if (role === "delete")
            return;
        // An open edit commits before its row moves; keys that sort come from the header,
        // which keeps the focus.
        if (!headerFocused)
            finishEditing();
        history.sortBy(role);
    }

    // The view's own indicator moves on a click; it only says which title was clicked, and
    // follows the history otherwise.
    function headerClicked() {
        if (syncingIndicator)
            return;
        sortColumn(sortIndicatorColumn);
        syncIndicator();
    }

    function syncIndicator() {
        syncingIndicator = true;
        var column = -1;
        for (var i = 0; i < columnCount; ++i) {
            if (getColumn(i).role === sortRole)
                column = i;
        }
        sortIndicatorColumn = column;
        sortIndicatorOrder = sortDescending ? Qt.DescendingOrder : Qt.AscendingOrder;
        syncingIndicator = false;
    }

    // The editor shows a text of several lines, or a long one, whole in the note under it.
    function noteEdit(cell, text) {
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
        }
    }

    function valueText(value) {
        return value === undefined || value === null ? "" : String(value);
    }

    function displayText(role, value) {
        return fitter.shownText(role, value);
    }

    function hasSeveralLines(text) {
        return fitter.hasSeveralLines(text);
    }

    function textWidth(text) {
        return fitter.textWidth(text);
    }

    function titleWidth(title) {
        return fitter.titleWidth(title);
    }

    function headerWidth(title, sorted) {
        return fitter.headerWidth(title, sorted);
    }

    function columnList(property) {
        var list = [];
        for (var i = 0; i < columnCount; ++i)
            list.push(getColumn(i)[property]);
        return list;
    }

    // Columns follow the texts of the rows in sight and a screenful more, so that no cell has
    // to be made for them.
    function fitColumns() {
        var rows = model && model.count > 0 ? 2 * Math.ceil(viewport.height / rowHeight) : 0;
        contentWidths = fitter.contentWidths(model, columnList("role"), rows);
        shareWidth();
    }

    // The same texts in the room there is now: after a resize or a new sorted column.
    function shareWidth() {
        var widths = fitter.widths(columnList("title"), columnList("role"), contentWidths,
                                   sortRole, rowSizeProbe.implicitWidth + 8, viewport.width);
        for (var i = 0; i < widths.length; ++i)
            getColumn(i).width = widths[i];
    }

    objectName: "lolView"
    selectionMode: SelectionMode.SingleSelection
    // Before the first load the titles alone set the widths.
    Component.onCompleted: {
        // The data columns come from the schema, before the delete column; the view has
        // taken in its declared columns by now.
        var columns = TableColumns.columns;
        for (var i = 0; i < columns.length; ++i)
            insertColumn(i, dataColumn.createObject(lolView, columns[i]));
        syncIndicator();
        Qt.callLater(fitColumns);
    }
    onSortRoleChanged: {
        syncIndicator();
        shareWidth();
    }
    onSortDescendingChanged: syncIndicator()
    onViewWidthChanged: Qt.callLater(shareWidth)
    onSortIndicatorColumnChanged: headerClicked()
    onSortIndicatorOrderChanged: headerClicked()

    TableViewColumn { role: "delete"; title: "Удаление" }

    Component {
        id: dataColumn
        TableViewColumn {
            property bool editable
        }
    }

    headerDelegate: ColumnHeader {
        table: lolView
        column: styleData.column
        title: styleData.value
        pressed: styleData.pressed
    }

    rowDelegate: Rectangle {
        height: lolView.rowHeight
        color: styleData.selected ? (lolView.activeFocus ? Theme.rowSelected
                                                         : Theme.rowSelectedUnfocused)
                                  : styleData.alternate ? Theme.row : Theme.rowAlternate
    }

    itemDelegate: TableCell {
        table: lolView
        row: styleData.row
        role: styleData.role
        value: styleData.value
        textColor: styleData.textColor
        elideMode: styleData.elideMode
        notes: model ? model.duplicates : null
    }

    CellNote {
        id: cellNote
    }

    Timer {
        interval: 500
        running: lolView.hoveredCell !== null && !lolView.hoveredCell.editionMode
        onTriggered: {
            var text = lolView.hoveredCell.noteText();
            if (text !== "")
                cellNote.show(lolView.hoveredCell, text);
        }
    }

    Component {
        id: editorComponent
        CellEditor {
            table: lolView
        }
    }

    Component {
        id: deleteButtonComponent

        Button {
            property Item cell

            objectName: "deleteButton"
            anchors.centerIn: parent
            text: "Удалить"
            onClicked: {
                // An edit still open in another row commits before the rows shift.
                lolView.finishEditing();
                lolView.removeRow(cell.row);
            }
        }
    }

    // One list for whichever rank cell is being edited.
    CompletionList {
        id: rankCompletion
        suggestions: field ? ParticipantRules.rankSuggestions(field.text) : []
    }

    FontMetrics {
        id: fontMetrics
    }

    ColumnFitter {
        id: fitter
        font: fontMetrics.font
    }

    Button {
        id: rowSizeProbe
        visible: false
        text: "Удалить"
    }
}
