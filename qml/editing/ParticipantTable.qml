import QtQuick 2.7
import QtQuick.Controls 1.4
import Quillor.Lists 1.0

// The editing table: one row per record, cells edited in place, a delete button per row.
TableView {
    id: lolView

    // Takes the focus when an edit ends, which commits it.
    property Item focusSink

    function finishEditing() {
        focusSink.forceActiveFocus();
    }

    function setCell(row, role, text) {
        if (row >= 0 && row < model.count)
            model.editCell(row, role, text);
    }

    function valueText(value) {
        return value === undefined || value === null ? "" : String(value);
    }

    function displayText(role, value) {
        return role === "step" ? ParticipantRules.shownStep(value) : valueText(value);
    }

    // A column title shows one word a line, so that ten titles fit beside each other.
    function titleWidth(title) {
        var words = String(title).split(" ");
        var width = 0;
        for (var i = 0; i < words.length; ++i)
            width = Math.max(width, fontMetrics.advanceWidth(words[i]));
        return Math.ceil(width) + 16;
    }

    // Columns follow their contents. When together they are wider than the view, the
    // widest give way down to a common width, eliding their longest texts, so that every
    // column and the delete buttons stay in sight; titles and buttons stay whole.
    function fitColumns() {
        resizeColumnsToContents();
        var widths = [];
        var minimums = [];
        var excess = -viewport.width;
        for (var i = 0; i < columnCount; ++i) {
            var column = getColumn(i);
            widths.push(column.width);
            var title = titleWidth(column.title);
            minimums.push(column.role === "delete" ? column.width : Math.min(column.width, title));
            excess += column.width;
        }
        if (excess <= 0)
            return;
        // The largest common width that frees enough room.
        var low = 0;
        var high = Math.max.apply(null, widths);
        while (high - low > 1) {
            var cap = Math.floor((low + high) / 2);
            var freed = 0;
            for (i = 0; i < widths.length; ++i)
                freed += Math.max(0, widths[i] - Math.max(cap, minimums[i]));
            if (freed >= excess)
                low = cap;
            else
                high = cap;
        }
        for (i = 0; i < widths.length; ++i)
            getColumn(i).width = Math.min(widths[i], Math.max(low, minimums[i]));
    }

    objectName: "lolView"
    selectionMode: SelectionMode.SingleSelection
    // Before the first load the titles alone set the widths.
    Component.onCompleted: Qt.callLater(fitColumns)

    TableViewColumn { role: "name"; title: "Имя" }
    TableViewColumn { role: "birthDate"; title: "Дата Рождения" }
    TableViewColumn { role: "group"; title: "Группа" }
    TableViewColumn { role: "organization"; title: "Организация" }
    TableViewColumn { role: "gtoUuid"; title: "ИД ГТО" }
    TableViewColumn { role: "sex"; title: "Пол" }
    TableViewColumn { role: "step"; title: "Ступень" }
    TableViewColumn { role: "pectoralNumber"; title: "Нагрудный Номер" }
    TableViewColumn { role: "athleticRank"; title: "Спортивный Разряд" }
    TableViewColumn { role: "delete"; title: "Удаление" }

    headerDelegate: Rectangle {
        implicitWidth: lolView.titleWidth(styleData.value)
        height: Math.ceil(fontMetrics.height * 2) + 6
        color: styleData.pressed ? Theme.headerPressed : Theme.header

        Text {
            anchors.fill: parent
            anchors.leftMargin: 2
            anchors.rightMargin: 2
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            text: String(styleData.value).replace(/ /g, "\n")
            elide: Text.ElideRight
        }

        Rectangle {
            anchors.right: parent.right
            width: 1
            height: parent.height
            color: Theme.gridLine
        }

        Rectangle {
            anchors.bottom: parent.bottom
            width: parent.width
            height: 1
            color: Theme.gridLine
        }
    }

    // Rows tall enough for the delete button and the cell editor.
    rowDelegate: Rectangle {
        height: rowSizeProbe.implicitHeight + 2
        color: styleData.selected ? (lolView.activeFocus ? Theme.rowSelected
                                                         : Theme.rowSelectedUnfocused)
                                  : styleData.alternate ? Theme.row : Theme.rowAlternate
    }

    itemDelegate: TableCell {
        table: lolView
        row: styleData.row
        role: styleData.role
        value: styleData.value
        textColor: styleData.textColor
        elideMode: styleData.elideMode
    }

    FontMetrics {
        id: fontMetrics
    }

    Button {
        id: rowSizeProbe
        visible: false
        text: "Удалить"
    }
}
