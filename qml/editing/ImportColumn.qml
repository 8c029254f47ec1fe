import QtQuick 2.7
import QtQuick.Controls 1.4
import Quillor.Lists 1.0

// One source column of the import preview: its header, the meaning chosen for it and
// its first rows as read.
Column {
    id: sourceColumn

    property QtObject importer: null
    property int column: 0
    property string header: ""
    // Where Shift+Tab goes from the meaning box; the preview keeps the focus inside.
    property Item backtabTarget: null
    readonly property alias meaningBox: meaningBox
    signal meaningFocused()

    readonly property bool skipped: importer !== null &&
                                    importer.meanings[column] === importer.meaningNames.length - 1

    // Wide enough for the longest meaning beside the box's arrow.
    width: Math.max(longestMeaning.width + 40, headerText.implicitWidth)
    spacing: 2

    TextMetrics {
        id: longestMeaning
        text: "Спортивный разряд"
    }

    Label {
        id: headerText
        width: parent.width
        text: sourceColumn.header
        font.bold: true
        elide: Text.ElideRight
    }

    ComboBox {
        id: meaningBox
        objectName: "meaning:" + sourceColumn.column
        width: parent.width
        Accessible.name: "Значение столбца «" + sourceColumn.header + "»"
        Accessible.description: "Столбец " + (sourceColumn.column + 1) + " файла; выбранное: " +
                                currentText
        // A participant list keeps every key as it is.
        enabled: sourceColumn.importer !== null && !sourceColumn.importer.isList
        model: sourceColumn.importer ? sourceColumn.importer.meaningNames : []
        currentIndex: sourceColumn.importer ? sourceColumn.importer.meanings[sourceColumn.column]
                                            : -1
        onActivated: sourceColumn.importer.setMeaning(sourceColumn.column, index)
        onActiveFocusChanged: {
            if (activeFocus)
                sourceColumn.meaningFocused();
        }
        Keys.onBacktabPressed: {
            if (sourceColumn.backtabTarget) {
                sourceColumn.backtabTarget.forceActiveFocus();
                event.accepted = true;
            } else {
                event.accepted = false;
            }
        }
    }

    Repeater {
        model: sourceColumn.importer ? sourceColumn.importer.sample : []

        Label {
            width: sourceColumn.width
            // One line a cell, so that the rows of all columns stay level.
            text: String(modelData[sourceColumn.column]).replace(/\n/g, " ")
            maximumLineCount: 1
            elide: Text.ElideRight
            color: sourceColumn.skipped ? Theme.control : Theme.text
        }
    }
}
