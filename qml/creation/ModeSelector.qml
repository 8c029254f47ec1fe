import QtQuick 2.7
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.3

// The competition mode: GTO or competition/training.
ColumnLayout {
    id: selector

    property int pixSize
    readonly property bool isGto: gtoRadioButton.checked

    spacing: pixSize

    ExclusiveGroup {
        id: radioGroupGTOMode
    }

    Label {
        Layout.alignment: Qt.AlignHCenter
        text: "Режим соревнований:"
        font.pixelSize: selector.pixSize * 2
    }

    RowLayout {
        Layout.alignment: Qt.AlignHCenter
        spacing: selector.pixSize * 2

        RadioButton {
            id: gtoRadioButton
            objectName: "gtoRadioButton"
            text: "ГТО"
            checked: true
            exclusiveGroup: radioGroupGTOMode
            Accessible.name: text
            Accessible.description: "Режим соревнований: участники ГТО с датой рождения и ступенью"
            style: ModeRadioStyle {
                pixSize: selector.pixSize
            }
        }
        RadioButton {
            id: trainingRadioButton
            objectName: "trainingRadioButton"
            text: "Соревнование/Тренировка"
            exclusiveGroup: radioGroupGTOMode
            Accessible.name: text
            Accessible.description: "Режим соревнований: участники с организацией и группой"
            style: ModeRadioStyle {
                pixSize: selector.pixSize
            }
        }
    }
}
