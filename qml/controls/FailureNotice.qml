import QtQuick 2.7
import QtQuick.Controls 1.4
import Quillor.Lists 1.0

// A red message in the middle of the page that fades out over three seconds.
// It also takes keyboard focus when the editing page ends a cell edit.
Label {
    id: failureLabel

    // Shows the message at full opacity; while a fade runs, another call changes nothing.
    function show() {
        visible = true;
        fadeOutAnimation.start();
    }

    anchors.centerIn: parent
    z: 1
    text: "Не удалось сохранить файл"
    color: Theme.notice
    visible: false
    opacity: 0

    NumberAnimation on opacity {
        id: fadeOutAnimation
        from: 1
        to: 0
        duration: Theme.noticeFade
        easing.type: Easing.Linear
    }
}
