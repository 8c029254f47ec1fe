import QtQuick 2.7
import QtQuick.Dialogs 1.0

// The file dialog of a path row. It lives in its own document so that the dialog module
// is loaded on the first press of the button, not while the window starts.
FileDialog {
    id: fileDialog
    objectName: "fileDialog"
    title: "Выберите файл"
    folder: shortcuts.home
    selectMultiple: false
    selectFolder: false
}
