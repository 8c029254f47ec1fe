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
            Accessible.role: Accessible.List
            Accessible.name: "Добавленные записи"
            // A long name gives way in its middle, so that the organization and the GTO
            // mark at the end stay in sight.
            delegate: Item {
                objectName: "addedEntry"
                Accessible.role: Accessible.ListItem
                Accessible.name: text
                readonly property string text: nameText.text + tailText.text
                readonly property real room: addedList.width - addedScrollBar.width - 8
                width: addedList.width - addedScrollBar.width
                height: nameText.implicitHeight

                Text {
                    id: nameText
                    objectName: "addedName"
                    x: 4
                    width: Math.min(implicitWidth, Math.max(parent.room / 2,
                                                            parent.room - tailText.implicitWidth))
                    elide: Text.ElideMiddle
                    renderType: Text.NativeRendering
                    text: model.name
                }

                Text {
                    id: tailText
                    objectName: "addedTail"
                    anchors.left: nameText.right
                    width: parent.room - nameText.width
                    elide: Text.ElideMiddle
                    renderType: Text.NativeRendering
                    text: "  " + model.organization + (model.isGto ? " ГТО" : "")
                }
            }
        }

        ListScrollBar {
            id: addedScrollBar
            objectName: "addedScrollBar"
            flickable: addedList
        }
    }
}
