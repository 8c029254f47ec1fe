import QtQuick 2.7
import QtQuick.Controls 1.4

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
        anchors.fill: parent
        onClicked: {
            if (cell.editable) {
                cell.editorMade = true;
                editor.item.forceActiveFocus();
            } else {
                cell.table.finishEditing();
            }
        }
    }

    // Cells make only the controls they use: a control in every cell makes a table slow
    // to show.
    Loader {
        id: editor
        anchors.fill: parent
        active: cell.editable && cell.editorMade
        visible: cell.editionMode
        sourceComponent: TextField {
            objectName: "editor"
            text: cell.table.valueText(cell.value)
            onActiveFocusChanged: {
                if (activeFocus)
                    cell.editionMode = true;
                else
                    cell.commit(false);
            }
            onAccepted: cell.commit(true)
            // Tab would hand the focus to a delete button, where Space removes the row; it
            // ends the edit like Return instead.
            Keys.onTabPressed: cell.commit(true)
            Keys.onBacktabPressed: cell.commit(true)
            // The view would move its current row.
            Keys.onUpPressed: event.accepted = true
            Keys.onDownPressed: event.accepted = true
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
                cell.table.model.remove(cell.row);
            }
        }
    }
}
