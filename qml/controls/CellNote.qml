import QtQuick 2.7
import Quillor.Lists 1.0

// A note shown beside the item the pointer rests on, in place of a tooltip.
Rectangle {
    id: note

    property Item target: null
    property alias text: noteText.text

    function show(item, text) {
        target = item;
        noteText.text = text;
        var at = item.mapToItem(parent, 0, item.height);
        x = Math.max(0, Math.min(at.x, parent.width - width));
        y = at.y + 2;
    }

    function hide(item) {
        if (target === item)
            target = null;
    }

    objectName: "cellNote"
    visible: target !== null
    z: 20
    width: noteText.implicitWidth + 10
    height: noteText.implicitHeight + 6
    color: Theme.noteBackground
    border.width: 1
    border.color: Theme.frame

    Text {
        id: noteText
        anchors.centerIn: parent
    }
}
