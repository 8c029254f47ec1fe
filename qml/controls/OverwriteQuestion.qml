import QtQuick 2.7
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.3
import QtQuick.Window 2.2
import Quillor.Lists 1.0

// Asks before a save or an export replaces a file, over the whole page; nothing is written
// before the answer. "Отмена" is the default: it has the focus at first, so Return takes
// it, and Escape cancels from anywhere in the question.
FocusScope {
    id: question

    // What to do on "Заменить"; dropped on "Отмена".
    property var pendingAction: null
    property Item focusBefore: null

    // Shows `text` and runs `replace` once "Заменить" is pressed.
    function ask(text, replace) {
        focusBefore = question.Window.activeFocusItem;
        questionText.text = text;
        pendingAction = replace;
        visible = true;
        cancelButton.forceActiveFocus();
    }

    function answer(replace) {
        var action = pendingAction;
        pendingAction = null;
        visible = false;
        if (focusBefore)
            focusBefore.forceActiveFocus();
        focusBefore = null;
        if (replace && action)
            action();
    }

    objectName: "overwriteQuestion"
    anchors.fill: parent
    visible: false
    z: 4
    Accessible.role: Accessible.Dialog
    Accessible.name: "Заменить файл?"
    Accessible.description: questionText.text
    // No key reaches the page below while the question waits.
    Keys.onPressed: {
        if (event.key === Qt.Key_Escape || event.key === Qt.Key_Return ||
            event.key === Qt.Key_Enter)
            answer(false);
        event.accepted = true;
    }

    // The page below takes no clicks while the question waits.
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
        onWheel: wheel.accepted = true
    }

    Rectangle {
        anchors.fill: parent
        color: "#80000000"
    }

    Rectangle {
        anchors.centerIn: parent
        width: Math.min(parent.width - 2 * Theme.barPadding,
                        Math.max(answerRow.implicitWidth, questionText.implicitWidth) +
                        4 * Theme.barPadding)
        height: box.implicitHeight + 4 * Theme.barPadding
        color: Theme.background
        border.color: Theme.frame

        ColumnLayout {
            id: box
            anchors.fill: parent
            anchors.margins: 2 * Theme.barPadding
            spacing: 2 * Theme.barPadding

            Label {
                id: questionText
                objectName: "overwriteQuestionText"
                Layout.fillWidth: true
                wrapMode: Text.Wrap
            }

            RowLayout {
                id: answerRow
                Layout.alignment: Qt.AlignRight
                spacing: Theme.barPadding

                // Tab goes round the two answers only.
                KeyButton {
                    id: replaceButton
                    objectName: "replaceButton"
                    KeyNavigation.tab: cancelButton
                    KeyNavigation.backtab: cancelButton
                    text: "Заменить"
                    Accessible.name: "Заменить"
                    Accessible.description: "Записывает новый файл на место прежнего"
                    onClicked: question.answer(true)
                }

                KeyButton {
                    id: cancelButton
                    objectName: "replaceCancelButton"
                    KeyNavigation.tab: replaceButton
                    KeyNavigation.backtab: replaceButton
                    text: "Отмена"
                    Accessible.name: "Отмена"
                    Accessible.description: "Оставляет прежний файл как есть"
                    onClicked: question.answer(false)
                }
            }
        }
    }
}
