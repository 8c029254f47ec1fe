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
    // The editing page, made only when its tab is first opened, holds an offer as well.
    property bool editingOfferToo: false

    // Before and after the offer is taken up.
    signal restoring()
    signal restored()

    // 1 запись, 3 записи, 5 записей, 21 запись.
    function recordsText(count) {
        var tens = count % 100;
        var ones = count % 10;
        var word = tens >= 11 && tens <= 14 ? "записей"
                 : ones === 1 ? "запись"
                 : ones >= 2 && ones <= 4 ? "записи" : "записей";
        return count + " " + word;
    }

    function offerText() {
        return "Несохранённый список с прошлого запуска: " + recordsText(recovery.offerCount) +
               ", " + Qt.formatDateTime(recovery.offerTime, "dd.MM.yyyy hh:mm") +
               (editingOfferToo ? ". Ещё один — на вкладке редактирования" : "");
    }

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

    RowLayout {
        id: offerRow
        anchors.fill: parent
        anchors.margins: Theme.barPadding
        spacing: Theme.barPadding

        Label {
            objectName: "recoveryText"
            Layout.fillWidth: true
            text: bar.visible ? bar.offerText() : ""
            elide: Text.ElideRight
        }

        KeyButton {
            id: restoreButton
            objectName: "restoreButton"
            text: "Восстановить"
            onClicked: bar.answer(restoreButton, true)
        }

        KeyButton {
            id: discardButton
            objectName: "discardButton"
            text: "Удалить"
            onClicked: bar.answer(discardButton, false)
        }
    }
}
