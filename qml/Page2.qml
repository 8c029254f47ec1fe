import QtQuick 2.7
import QtQuick.Controls 1.4

FocusScope {
    id: root

    property var items: []
    property alias filePath: pathRow.filePath
    property int pixSize: Math.floor(height / 24 / 2)

    Column {
        anchors.fill: parent
        spacing: root.pixSize

        Label {
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Путь к файлу: "
        }

        FilePathRow {
            id: pathRow
            width: parent.width
            selectExisting: true
        }
    }

    FailureNotice {
        id: failureLabel
        objectName: "failureLabel"
        font.pixelSize: root.pixSize * 4
    }
}
