import QtQuick 2.7
import QtQuick.Controls 1.4
import QtQuick.Controls.Styles 1.4
import Quillor.Lists 1.0
import "../controls"

// The sex choice; "Пол" stands for nothing chosen yet and keeps the frame red.
ComboBox {
    id: comboSex

    property int pixSize

    implicitHeight: pixSize * 2
    model: ListModel {
        id: modelSex
        ListElement { name: "Blank"; text: "Пол" }
        ListElement { name: "Male"; text: "М" }
        ListElement { name: "Female"; text: "Ж" }
    }
    textRole: "text"
    style: ComboBoxStyle {
        background: ValidationFrame {
            objectName: "validationFrame"
            valid: comboSex.currentIndex >= 1
            // The frame colour is taken, so focus shows as a tint.
            color: comboSex.activeFocus ? Theme.focusTint : Theme.background

            Text {
                anchors.right: parent.right
                anchors.rightMargin: 6
                anchors.verticalCenter: parent.verticalCenter
                text: "▼"
                renderType: Text.NativeRendering
                font.pixelSize: Math.max(8, parent.height / 3)
                color: Theme.arrow
            }
        }
    }
}
