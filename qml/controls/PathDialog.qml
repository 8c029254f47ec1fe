import QtQuick 2.7

// The file dialog of a path row. It lives in its own document so that the dialog module
// is loaded on the first press of the button, not while the window starts.
FittedFileDialog {
    id: fileDialog
    objectName: "fileDialog"
    title: "Выберите файл"
    folder: shortcuts.home
    selectMultiple: false
    selectFolder: false
}
