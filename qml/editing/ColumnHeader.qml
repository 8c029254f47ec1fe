import QtQuick 2.7
import Quillor.Lists 1.0

// A column title, one word a line, with an arrow while the rows are sorted by its column.
// The first title is the header's one stop for Tab: Left and Right pick a title there,
// Space or Return sorts by it as a click does, and Down goes to the cells.
Rectangle {
    id: header

    property var table
    property int column: -1
    property string title
    property bool pressed
    readonly property string role: column >= 0 && column < table.columnCount
                                    ? table.getColumn(column).role : ""
    readonly property bool sorted: role !== "" && role === table.sortRole
    readonly property bool picked: table.headerFocused && table.headerColumn === column

    function pick(step) {
        table.headerColumn = Math.max(0, Math.min(table.columnCount - 1,
                                                  table.headerColumn + step));
    }

    objectName: "header:" + role
    implicitWidth: table.headerWidth(title, sorted)
    height: Math.ceil(table.titleHeight) + 6
    color: pressed ? Theme.headerPressed : Theme.header
    activeFocusOnTab: column === 0
    onActiveFocusChanged: {
        if (column === 0)
            table.headerFocused = activeFocus;
    }
    Accessible.role: Accessible.ColumnHeader
    Accessible.name: title
    Accessible.description: role === "delete" ? "не сортируется"
                            : !sorted ? "без сортировки"
                            : table.sortDescending ? "по убыванию" : "по возрастанию"
    // Down goes on to the cells, as from the find field.
    Keys.onDownPressed: table.enter()
    Keys.onLeftPressed: pick(-1)
    Keys.onRightPressed: pick(1)
    Keys.onSpacePressed: table.sortColumn(table.headerColumn)
    Keys.onReturnPressed: table.sortColumn(table.headerColumn)
    Keys.onEnterPressed: table.sortColumn(table.headerColumn)

    Text {
        anchors.fill: parent
        anchors.leftMargin: 2
        anchors.rightMargin: 2 + (header.sorted ? table.arrowRoom : 0)
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        text: String(header.title).replace(/ /g, "\n")
        elide: Text.ElideRight
    }

    Text {
        objectName: "sortArrow"
        anchors.right: parent.right
        anchors.rightMargin: 3
        anchors.verticalCenter: parent.verticalCenter
        visible: header.sorted
        color: Theme.arrow
        text: header.table.sortDescending ? "▼" : "▲"
    }

    Rectangle {
        anchors.fill: parent
        anchors.margins: 1
        visible: header.picked
        color: "transparent"
        border.width: 2
        border.color: Theme.focusFrame
    }

    Rectangle {
        anchors.right: parent.right
        width: 1
        height: parent.height
        color: Theme.gridLine
    }

    Rectangle {
        anchors.bottom: parent.bottom
        width: parent.width
        height: 1
        color: Theme.gridLine
    }
}
