import QtQuick 2.7
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.3
import Quillor.Lists 1.0

// Offers the unsaved list that a copy of the program which no longer runs left for this
// page. Nothing changes until a button is pressed; the page works as usual meanwhile.
Rectangle {
    id: bar

    property PageRecovery recovery: null
    // Takes the focus when the bar goes while one of its buttons has it.
    property Item focusAfter: null

    // Before and after the offer is taken up.
    signal restoring()
    signal restored()

    function answer(button, restore) {
        var keyboard = button.activeFocus;
        if (restore) {
            restoring();
            if (recovery.restore())
                restored();
        } else {
            recovery.discard();
        }
        if (keyboard && !bar.visible && focusAfter)
            focusAfter.forceActiveFocus();
    }

    visible: recovery !== null && recovery.hasOffer
    implicitHeight: offerRow.implicitHeight + 2 * Theme.barPadding
    color: Theme.recoveryBar
    border.color: Theme.recoveryBarFrame
    Accessible.role: Accessible.AlertMessage
    Accessible.name: visible ? recovery.offerText : ""

    RowLayout {
        id: offerRow
        anchors.fill: parent
        anchors.margins: Theme.barPadding
        spacing: Theme.barPadding

        Label {
            objectName: "recoveryText"
            Layout.fillWidth: true
            text: bar.visible ? bar.recovery.offerText : ""
            elide: Text.ElideRight
        }

        KeyButton {
            id: restoreButton
            objectName: "restoreButton"
            text: "Восстановить"
            Accessible.name: "Восстановить несохранённый список"
            Accessible.description: "Возвращает на страницу список, не сохранённый при прошлом запуске"
            onClicked: bar.answer(restoreButton, true)
        }

        KeyButton {
            id: discardButton
            objectName: "discardButton"
            text: "Удалить"
            Accessible.name: "Удалить несохранённый список"
            Accessible.description: "Отказывается от списка прошлого запуска; страница не меняется"
            onClicked: bar.answer(discardButton, false)
        }
    }
}
