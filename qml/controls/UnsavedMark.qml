import QtQuick 2.7
import QtQuick.Controls 1.4
import Quillor.Lists 1.0

// Beside a save button while the page's list differs from what was last loaded or saved.
// It hangs off the button's right edge, so it never moves the button.
Label {
    anchors.left: parent.right
    anchors.leftMargin: Theme.barPadding
    anchors.verticalCenter: parent.verticalCenter
    text: "Есть несохранённые изменения"
    color: Theme.unsavedMark
    Accessible.role: Accessible.StaticText
    Accessible.name: text
    Accessible.description: "Список отличается от последнего загруженного или сохранённого"
}
