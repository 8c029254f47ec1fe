import QtQuick 2.7
import QtQuick.Controls 1.4
import Quillor.Lists 1.0

// A red message in the middle of the page that fades out over three seconds.
// It also takes keyboard focus when the editing page ends a cell edit.
Label {
    id: failureLabel

    // A smaller line under the message that names the cause; none while empty.
    property alias detail: detailLabel.text

    // Shows the message at full opacity, with `cause` in the smaller line when one is
    // given; while a fade runs, another call changes nothing but that line.
    function show(cause) {
        detailLabel.text = cause ? cause : "";
        visible = true;
        // A screen reader announces an alert as it comes into view, so each message
        // brings it in anew; the label itself stays, as it may hold the focus.
        alert.visible = false;
        alert.visible = true;
        fadeOutAnimation.start();
    }

    anchors.centerIn: parent
    z: 1
    text: "Не удалось сохранить файл"
    color: Theme.notice
    visible: false
    opacity: 0
    Accessible.role: Accessible.StaticText
    Accessible.name: text
    Accessible.description: detailLabel.text

    Item {
        id: alert
        objectName: "noticeAlert"
        visible: false
        Accessible.role: Accessible.AlertMessage
        Accessible.name: detailLabel.text !== "" ? failureLabel.text + ". " + detailLabel.text
                                                 : failureLabel.text
    }

    Label {
        id: detailLabel
        objectName: "detail"
        anchors.top: parent.bottom
        anchors.horizontalCenter: parent.horizontalCenter
        width: failureLabel.parent ? Math.min(implicitWidth, failureLabel.parent.width)
                                   : implicitWidth
        horizontalAlignment: Text.AlignHCenter
        elide: Text.ElideMiddle
        color: failureLabel.color
        font.pixelSize: Math.max(1, Math.round((failureLabel.font.pixelSize > 0
                                                ? failureLabel.font.pixelSize
                                                : failureLabel.implicitHeight) / 2))
        visible: text !== ""
    }

    NumberAnimation on opacity {
        id: fadeOutAnimation
        from: 1
        to: 0
        duration: Theme.noticeFade
        easing.type: Easing.Linear
        onStopped: alert.visible = false
    }
}
