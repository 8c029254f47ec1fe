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
    readonly property alias rankCompletion: cellHost.rankCompletion
    readonly property alias cursor: cursor
    // Changes with the window's width and with the scroll bar that comes and goes.
    readonly property real viewWidth: viewport.width
    // The widest text of each column in the rows measured at the last fit.
    property var contentWidths: []
    property var columnTitles: []

    // A new list makes only the rows in sight before the frame that shows it; the rows
    // around them, which make scrolling smooth, follow once that frame is out. The view's
    // flickable is its list view, which alone has a cache of rows.
    function showRowsFirst() {
        var list = flickableItem;
        list.cacheBuffer = 0;
        var window = Window.window;
        if (!window)
            return;
        var restore = function () {
            window.frameSwapped.disconnect(restore);
            if (list)
                list.cacheBuffer = rowsAround;
        };
        window.frameSwapped.connect(restore);
    }

    function finishEditing() {
        cellHost.finishEditing();
    }

    // The keys go to the current cell, even where the titles had the table's focus last.
    function enter() {
        cursor.forceActiveFocus();
    }

    function roleAt(column) {
        return column >= 0 && column < columnCount ? getColumn(column).role : "delete";
    }

    function sortColumn(index) {
        var role = roleAt(index);
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
        var deleteWidth = rowSizeProbe.implicitWidth + cellHost.textPadding / 2;
        var widths = fitter.widths(columnList("title"), columnList("role"), contentWidths,
                                   sortRole, deleteWidth, viewport.width);
        for (var i = 0; i < widths.length; ++i)
            getColumn(i).width = widths[i];
    }

    objectName: "lolView"
    selectionMode: SelectionMode.SingleSelection
    Accessible.name: "Список участников"
    Accessible.description: "Стрелки выбирают ячейку, F2 или Enter начинают правку"
    // Before the first load the titles alone set the widths.
    Component.onCompleted: {
        // The data columns come from the schema, before the delete column; the view has
        // taken in its declared columns by now.
        var columns = TableColumns.columns;
        for (var i = 0; i < columns.length; ++i)
            insertColumn(i, dataColumn.createObject(lolView, columns[i]));
        columnTitles = columnList("title");
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
        host: cellHost
        row: styleData.row
        column: styleData.column
        role: styleData.role
        value: styleData.value
        textColor: styleData.textColor
        elideMode: styleData.elideMode
        notes: model ? model.duplicates : null
    }

    // The cursor has the keys that come to the table; the editor and the titles keep theirs.
    Keys.onPressed: cursor.press(event)

    TableCursor {
        id: cursor
        view: lolView
        sink: lolView.focusSink
        rowCount: lolView.model ? lolView.model.count : 0
        columnCount: Math.max(0, lolView.columnCount - 1)
        pageRows: Math.max(1, Math.floor(lolView.viewport.height / lolView.rowHeight) - 1)
        editing: cellHost.editingCell !== null
        onEditRequested: {
            if (cellHost.currentCell)
                cellHost.openEditor(cellHost.currentCell, typed);
        }
        onClearRequested: cellHost.clear(row, lolView.roleAt(column))
        onRemoveRequested: cellHost.removeRow(row)
    }

    CellHost {
        id: cellHost
        model: lolView.model
        history: lolView.history
        fitter: fitter
        cursor: cursor
        focusSink: lolView.focusSink
        titles: lolView.columnTitles
        onUndoRequested: lolView.undoRequested()
        onRedoRequested: lolView.redoRequested()
        editorComponent: CellEditor {}
        deleteButtonComponent: DeleteButton {}
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
