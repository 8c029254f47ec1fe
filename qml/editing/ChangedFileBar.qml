import QtQuick 2.7
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.3
import Quillor.Lists 1.0
import "../controls"

// Shown when a save found that the list file changed after it was loaded here: another
// desk or program wrote it. Nothing was written; the operator chooses what happens.
Rectangle {
    id: bar

    property ListFileWatch watch: null
    // "Объединить" opens the changed file in it, repeats marked.
    property ImportPreview preview: null
    // Takes the focus when "Отмена" closes the bar.
    property Item focusAfter: null

    // The save goes ahead: over the other writer's work after "Перезаписать", and after the
    // records of a merge went into the list, over the file as the merge read it.
    signal save(bool overwrite)

    function taken() {
        if (watch.endMerge(preview.importer))
            save(false);
    }

    function ended() {
        watch.endMerge(null);
    }

    Component.onCompleted: {
        preview.taken.connect(taken);
        preview.failed.connect(ended);
        preview.closed.connect(ended);
    }

    objectName: "changedFileBar"
    visible: watch !== null && watch.changed
    implicitHeight: changedRow.implicitHeight + 2 * Theme.barPadding
    color: Theme.recoveryBar
    border.color: Theme.recoveryBarFrame
    Accessible.role: Accessible.AlertMessage
    Accessible.name: changedText.text

    onVisibleChanged: {
        if (visible)
            mergeButton.forceActiveFocus();
    }

    RowLayout {
        id: changedRow
        anchors.fill: parent
        anchors.margins: Theme.barPadding
        spacing: Theme.barPadding

        Label {
            id: changedText
            objectName: "changedFileText"
            Layout.fillWidth: true
            text: "Файл изменён после загрузки — другой программой или на другом компьютере."
            elide: Text.ElideRight
        }

        KeyButton {
            id: mergeButton
            objectName: "mergeButton"
            text: "Объединить"
            Accessible.name: text
            Accessible.description: "Добавляет записи из изменённого файла к списку и сохраняет"
            onClicked: bar.preview.openFile(bar.watch.beginMerge())
        }

        KeyButton {
            objectName: "overwriteButton"
            text: "Перезаписать"
            Accessible.name: text
            Accessible.description: "Записывает таблицу поверх изменённого файла"
            onClicked: bar.save(true)
        }

        KeyButton {
            objectName: "changedCancelButton"
            text: "Отмена"
            Accessible.name: text
            Accessible.description: "Ничего не записывает"
            onClicked: {
                bar.watch.dismiss();
                if (bar.focusAfter)
                    bar.focusAfter.forceActiveFocus();
            }
        }
    }
}
