import QtQuick 2.7
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.3
import Quillor.Lists 1.0
import "../controls"

// A file being read for an import: how far the reading got, and "Отмена", which stops it
// and leaves the list as it was. The window keeps drawing meanwhile.
FocusScope {
    id: progress

    property real value: 0
    property int pixSize: 10

    signal cancelled()

    function takeFocus() {
        cancelReadingButton.forceActiveFocus();
    }

    Keys.onEscapePressed: cancelled()

    Rectangle {
        anchors.fill: parent
        color: Theme.background
        border.color: Theme.frame
    }

    ColumnLayout {
        anchors.centerIn: parent
        spacing: progress.pixSize

        Label {
            objectName: "importReadingLabel"
            Layout.alignment: Qt.AlignHCenter
            text: "Чтение файла…"
            font.pixelSize: progress.pixSize * 2
        }

        ProgressBar {
            objectName: "importReadingProgress"
            Layout.preferredWidth: progress.pixSize * 40
            minimumValue: 0
            maximumValue: 1
            value: progress.value
            Accessible.name: "Ход чтения файла"
            Accessible.description: Math.round(progress.value * 100) + "%"
        }

        KeyButton {
            id: cancelReadingButton
            objectName: "importReadingCancelButton"
            Layout.alignment: Qt.AlignHCenter
            text: "Отмена"
            Accessible.name: "Отменить чтение файла"
            Accessible.description: "Останавливает чтение; список остаётся как был"
            onClicked: progress.cancelled()
        }
    }
}
