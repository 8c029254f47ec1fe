import QtQuick 2.7
import QtQuick.Controls 1.4

// The delete button of a row's last cell; from the table's cells Ctrl+Delete does the same.
Button {
    property Item cell
    property CellHost host

    objectName: "deleteButton"
    anchors.centerIn: parent
    text: "Удалить"
    Accessible.name: "Удалить строку " + (cell.row + 1)
    onClicked: {
        // An edit still open in another row commits before the rows shift.
        host.finishEditing();
        host.removeRow(cell.row);
    }
}
