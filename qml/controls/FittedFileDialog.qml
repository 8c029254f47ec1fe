import QtQuick 2.7
import QtQuick.Dialogs 1.0
import QtQuick.Window 2.2
import Quillor.Lists 1.0

// A file dialog that opens large enough to read a folder of lists, centred over the window
// it was opened from and kept on the desktop. Left to itself it opens at about 380 by 300
// pixels in a corner of the screen.
FileDialog {
    id: dialog

    function openOver(item) {
        var desktopWidth = item.Screen.desktopAvailableWidth;
        var desktopHeight = item.Screen.desktopAvailableHeight;
        width = Math.min(Theme.dialogWidth, desktopWidth);
        height = Math.min(Theme.dialogHeight, desktopHeight);
        open();
        // Only once the dialog has its window does a position move that window; before,
        // it would move the dialog's contents inside it.
        var window = item.Window.window;
        if (window) {
            x = Math.max(0, Math.min(desktopWidth - width,
                                     window.x + Math.round((window.width - width) / 2)));
            y = Math.max(0, Math.min(desktopHeight - height,
                                     window.y + Math.round((window.height - height) / 2)));
        }
    }
}
