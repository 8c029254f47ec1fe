import QtQuick 2.7
import QtQuick.Controls 1.4
import QtQuick.Controls.Styles 1.4
import Quillor.Lists 1.0

// Labels this large need a matching indicator, centred beside them.
RadioButtonStyle {
    property int pixSize

    spacing: 0
    indicator: Item {}
    label: Row {
        spacing: Math.round(pixSize / 2)

        Rectangle {
            anchors.verticalCenter: parent.verticalCenter
            width: pixSize * 1.4
            height: width
            radius: width / 2
            border.color: control.activeFocus ? Theme.focusFrame : Theme.control
            color: control.pressed ? Theme.controlPressed : Theme.background

            Rectangle {
                anchors.centerIn: parent
                width: Math.round(parent.width / 2)
                height: width
                radius: width / 2
                color: Theme.mark
                visible: control.checked
            }
        }

        Label {
            text: control.text
            font.pixelSize: pixSize * 2

            Rectangle {
                anchors.fill: parent
                anchors.margins: -2
                visible: control.activeFocus
                radius: 3
                color: Theme.focusFill
                border.color: Theme.focusOutline
            }
        }
    }
}
