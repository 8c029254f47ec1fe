import QtQuick 2.7
import QtQuick.Controls 1.4
import "../controls"

// The editing page's notices over the page, under an import preview as each has been.
// The save notice is also the focus sink that ends a cell edit; while the table holds the
// keys, the keys it gets go on to the table's cursor.
Item {
    id: notices

    property int pixSize
    property TableCursor cursor: null
    readonly property alias failureLabel: failureLabel
    readonly property alias exportNotice: exportNotice
    readonly property alias loadFailureLabel: loadFailureLabel
    readonly property alias recoveryFailureLabel: recoveryFailureLabel

    z: 1

    FailureNotice {
        id: failureLabel
        objectName: "failureLabel"
        font.pixelSize: notices.pixSize * 4
        Accessible.role: Accessible.AlertMessage
        Accessible.name: text
        Keys.onPressed: {
            if (notices.cursor)
                notices.cursor.press(event);
        }
    }

    FailureNotice {
        id: exportNotice
        objectName: "exportNotice"
        font.pixelSize: notices.pixSize * 2
        Accessible.role: Accessible.AlertMessage
        Accessible.name: text
    }

    FailureNotice {
        id: loadFailureLabel
        objectName: "loadFailureLabel"
        text: "Не удалось загрузить файл"
        font.pixelSize: notices.pixSize * 4
        Accessible.role: Accessible.AlertMessage
        Accessible.name: text
        Accessible.description: detail
    }

    FailureNotice {
        id: recoveryFailureLabel
        objectName: "recoveryFailureLabel"
        text: "Не удалось записать файл для восстановления"
        font.pixelSize: notices.pixSize * 2
        Accessible.role: Accessible.AlertMessage
        Accessible.name: text
    }
}
