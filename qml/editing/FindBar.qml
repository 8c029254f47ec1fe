import QtQuick 2.7
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.3

// The find field above the table, and the buttons that take back and redo a change.
// The buttons stay out of the Tab order: Ctrl+Z and Ctrl+Y do their work from the keys.
RowLayout {
    id: bar

    property alias text: findField.text
    property bool canUndo: false
    property bool canRedo: false

    signal undoClicked()
    signal redoClicked()

    function focusFind() {
        findField.forceActiveFocus();
        findField.selectAll();
    }

    TextField {
        id: findField
        objectName: "findField"
        Layout.fillWidth: true
        placeholderText: "Поиск…"
        Keys.onEscapePressed: text = ""
        Accessible.name: "Поиск"
        Accessible.description: "Показывает только строки с этим текстом; Escape очищает"
    }

    Button {
        objectName: "undoButton"
        text: "Отменить"
        enabled: bar.canUndo
        activeFocusOnTab: false
        Accessible.name: text
        Accessible.description: "Отменяет последнее изменение таблицы (Ctrl+Z)"
        onClicked: bar.undoClicked()
    }

    Button {
        objectName: "redoButton"
        text: "Повторить"
        enabled: bar.canRedo
        activeFocusOnTab: false
        Accessible.name: text
        Accessible.description: "Повторяет отменённое изменение (Ctrl+Y)"
        onClicked: bar.redoClicked()
    }
}
