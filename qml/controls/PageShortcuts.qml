import QtQuick 2.9

// A page's keys that act wherever its focus is, while the page shows and no question waits.
// Each is a window shortcut: a text field takes the keys it knows, Ctrl+Z, Ctrl+Y and Ctrl+V
// among them, before a shortcut sees them, so in a field they keep working on its text.
// A press on a button moves no focus, so after it the keys still reach these shortcuts.
//
// The keys of the editing table (the current cell, its edits and deletes) are the table's
// own, in TableCursor; a cell editor hands Ctrl+Z on when it has nothing to take back.
Item {
    id: shortcuts

    // Pages without a find field or a paste of rows leave these off.
    property bool findEnabled: false
    property bool pasteEnabled: false

    // Ctrl+Z, and Ctrl+Shift+Z or Ctrl+Y.
    signal undo()
    signal redo()
    // Ctrl+F.
    signal find()
    // Ctrl+V or Shift+Insert.
    signal paste()

    Shortcut {
        sequence: "Ctrl+Z"
        context: Qt.WindowShortcut
        enabled: shortcuts.enabled
        onActivated: shortcuts.undo()
    }

    Shortcut {
        sequences: ["Ctrl+Shift+Z", "Ctrl+Y"]
        context: Qt.WindowShortcut
        enabled: shortcuts.enabled
        onActivated: shortcuts.redo()
    }

    Shortcut {
        sequence: "Ctrl+F"
        context: Qt.WindowShortcut
        enabled: shortcuts.enabled && shortcuts.findEnabled
        onActivated: shortcuts.find()
    }

    Shortcut {
        sequences: ["Ctrl+V", "Shift+Ins"]
        context: Qt.WindowShortcut
        enabled: shortcuts.enabled && shortcuts.pasteEnabled
        onActivated: shortcuts.paste()
    }
}
