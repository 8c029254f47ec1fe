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
    Accessible.role: Accessible.ToolTip
    Accessible.name: noteText.text
    visible: target !== null
    z: 20
    width: noteText.contentWidth + 10
    height: noteText.contentHeight + 6
    color: Theme.noteBackground
    border.width: 1
    border.color: Theme.frame

    // A long text wraps within the page and shows its first lines.
    Text {
        id: noteText
        x: 5
        y: 3
        width: Math.max(0, Math.min(implicitWidth, note.parent ? note.parent.width - 10 : 0))
        wrapMode: Text.Wrap
        maximumLineCount: 12
        elide: Text.ElideRight
    }
}
