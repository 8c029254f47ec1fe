import QtQuick 2.7
import "../controls"

// A field with an input mask. A press only focuses it with the cursor at the start: a mask
// is filled from its first position, and selecting blanks helps nobody.
ValidatedTextField {
    id: field

    MouseArea {
        anchors.fill: parent
        cursorShape: Qt.IBeamCursor
        onPressed: {
            field.forceActiveFocus();
            field.cursorPosition = 0;
        }
    }
}
