import QtQuick 2.7
import QtQuick.Controls 1.4

// A page's notices, over the page and under an import preview, each announced when it
// shows. The save notice is also the focus sink that ends a table's cell edit: the keys it
// gets go on to `keyTarget`, the table's cursor, which uses them while it holds the keys.
Item {
    id: notices

    property int pixSize
    property var keyTarget: null
    readonly property alias failureLabel: failureLabel
    readonly property alias recoveryFailureLabel: recoveryFailureLabel

    z: 1

    FailureNotice {
        id: failureLabel
        objectName: "failureLabel"
        font.pixelSize: notices.pixSize * 4
        Keys.onPressed: {
            if (notices.keyTarget)
                notices.keyTarget.press(event);
        }
    }

    FailureNotice {
        id: recoveryFailureLabel
        objectName: "recoveryFailureLabel"
        text: "Не удалось записать файл для восстановления"
        font.pixelSize: notices.pixSize * 2
    }
}
