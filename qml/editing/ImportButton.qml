import QtQuick 2.7
import QtQuick.Controls 1.4
import "../controls"

// "Импорт…": picks a spreadsheet or a delimited text file to import, in the path rows'
// file dialog.
KeyButton {
    id: importButton

    signal fileChosen(url fileUrl)

    objectName: "importButton"
    text: "Импорт…"
    Accessible.name: text
    Accessible.description: "Добавляет записи из файла xlsx, csv или txt"
    onClicked: {
        if (dialogLoader.item)
            dialogLoader.item.openOver(importButton);
        else
            dialogLoader.active = true;
    }

    Loader {
        id: dialogLoader
        active: false
        source: "../controls/PathDialog.qml"
        onLoaded: {
            item.title = "Импорт списка";
            item.selectExisting = true;
            item.nameFilters = ["Таблицы (*.xlsx *.csv *.txt)", "Все файлы (*)"];
            item.accepted.connect(function() {
                importButton.fileChosen(item.fileUrl);
            });
            item.openOver(importButton);
        }
    }
}
