import QtQuick 2.7

// Ctrl+Z takes a step back, Ctrl+Shift+Z and Ctrl+Y take it again, while the page shows.
// Text fields keep these keys for their own text.
Item {
    id: shortcuts

    signal undo()
    signal redo()

    Shortcut {
        sequence: "Ctrl+Z"
        enabled: shortcuts.enabled
        onActivated: shortcuts.undo()
    }

    Shortcut {
        sequence: "Ctrl+Shift+Z"
        enabled: shortcuts.enabled
        onActivated: shortcuts.redo()
    }

    Shortcut {
        sequence: "Ctrl+Y"
        enabled: shortcuts.enabled
        onActivated: shortcuts.redo()
    }
}
