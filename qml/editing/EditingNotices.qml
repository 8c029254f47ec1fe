import QtQuick 2.7
import "../controls"

// The editing page's notices: besides the save and recovery ones, the export's and the
// load's, which names its cause in a smaller line.
PageNotices {
    readonly property alias exportNotice: exportNotice
    readonly property alias loadFailureLabel: loadFailureLabel

    function showExportNotice(text) {
        exportNotice.text = text;
        exportNotice.show();
    }

    FailureNotice {
        id: exportNotice
        objectName: "exportNotice"
        font.pixelSize: parent.pixSize * 2
    }

    FailureNotice {
        id: loadFailureLabel
        objectName: "loadFailureLabel"
        text: "Не удалось загрузить файл"
        font.pixelSize: parent.pixSize * 4
        Accessible.description: detail
    }
}
