import QtQuick 2.7
import Quillor.Lists 1.0

// Suggestions under a text field while it is typed into: the arrows pick one, Return or a
// click takes it. The field keeps whatever is typed until a suggestion is taken.
//
// It lives in `parent`, an item above the field's surroundings, so that no clipping view
// around the field cuts it off. The field calls typed(), move(), take() and close().
Rectangle {
    id: list

    property Item field
    // Whether it opened above the field, which it does only where there is no room below.
    property bool upward: false
    property var suggestions: []
    property int current: -1
    property bool open: false
    readonly property bool showing: open && suggestions.length > 0
    property bool taking: false
    readonly property bool fieldFocused: field ? field.activeFocus : false

    function typed() {
        if (taking)
            return;
        open = field.activeFocus;
        current = -1;
    }

    function move(step) {
        if (!showing) {
            open = field.activeFocus;
            current = -1;
        }
        if (showing)
            current = Math.max(-1, Math.min(suggestions.length - 1, current + step));
    }

    // False when no suggestion was picked, so that the key goes on to the field; the list
    // closes either way.
    function take() {
        if (!showing || current < 0) {
            close();
            return false;
        }
        taking = true;
        field.text = suggestions[current];
        taking = false;
        close();
        return true;
    }

    function close() {
        open = false;
        current = -1;
    }

    function place() {
        var top = field.mapToItem(parent, 0, 0);
        upward = top.y + field.height + height > parent.height && top.y - height >= 0;
        x = top.x;
        y = upward ? top.y - height : top.y + field.height;
    }

    objectName: "completionList"
    Accessible.role: Accessible.List
    Accessible.name: "Подсказки"
    Accessible.description: "Стрелки выбирают подсказку, Enter её вставляет"
    visible: showing
    z: 10
    width: Math.max(field ? field.width : 0, column.implicitWidth + 2)
    height: column.implicitHeight + 2
    color: Theme.background
    border.width: 1
    border.color: Theme.frame
    onFieldFocusedChanged: {
        if (!fieldFocused)
            close();
    }
    onShowingChanged: {
        if (showing)
            place();
    }
    // A list that grows or shrinks may have room below no longer, or again.
    onHeightChanged: {
        if (showing)
            place();
    }

    Column {
        id: column
        x: 1
        y: 1
        width: list.width - 2

        Repeater {
            model: list.showing ? list.suggestions : []

            Rectangle {
                objectName: "suggestion"
                width: column.width
                implicitWidth: suggestionText.implicitWidth + 12
                height: suggestionText.implicitHeight + 6
                color: index === list.current ? Theme.suggestion : Theme.background
                Accessible.role: Accessible.ListItem
                Accessible.name: modelData
                Accessible.selected: index === list.current

                Text {
                    id: suggestionText
                    x: 6
                    anchors.verticalCenter: parent.verticalCenter
                    text: modelData
                }

                MouseArea {
                    anchors.fill: parent
                    onClicked: {
                        list.current = index;
                        list.take();
                    }
                }
            }
        }
    }
}
