import QtQuick 2.7
import QtQuick.Controls 1.4
import Quillor.Lists 1.0
import "../controls"

// The records added so far, one line each: name, organization and a GTO mark.
Column {
    id: added

    property int pixSize
    property alias model: addedList.model
    property real boxWidth
    property real boxHeight

    spacing: pixSize

    Label {
        anchors.horizontalCenter: parent.horizontalCenter
        text: "Добавленные записи"
        font.pixelSize: added.pixSize * 2
    }

    Rectangle {
        width: added.boxWidth
        height: added.boxHeight
        border.width: 1
        border.color: Theme.frame

        ListView {
            id: addedList
            objectName: "addedList"
            anchors.fill: parent
            anchors.margins: 1
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            delegate: Text {
                objectName: "addedEntry"
                width: addedList.width - addedScrollBar.width
                leftPadding: 4
                rightPadding: 4
                elide: Text.ElideRight
                renderType: Text.NativeRendering
                text: model.name + "  " + model.organization + (model.isGto ? " ГТО" : "")
            }
        }

        ListScrollBar {
            id: addedScrollBar
            objectName: "addedScrollBar"
            flickable: addedList
        }
    }
}
