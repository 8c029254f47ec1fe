import QtQuick 2.7
import "../controls"

// The save dialog of the exports. It lives in its own document so that the dialog module
// is loaded on the first export, not while the window starts.
FittedFileDialog {
    id: exportDialog
    objectName: "exportDialog"

    // The ListExporter format the dialog was opened for.
    property int format: 0

    title: "Экспорт списка"
    selectExisting: false
    selectMultiple: false
    selectFolder: false
}
