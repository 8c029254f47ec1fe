import QtQuick 2.7

// The widths of the editing table's columns.
QtObject {
    property var table
    property var metrics
    property real rowHeight
    property real deleteWidth

    // A column title shows one word a line, so that ten titles fit beside each other.
    function titleWidth(title) {
        var words = String(title).split(" ");
        var width = 0;
        for (var i = 0; i < words.length; ++i)
            width = Math.max(width, metrics.advanceWidth(words[i]));
        return Math.ceil(width) + 16;
    }

    // Only the sorted column shows an arrow, so only it needs the room: reserving it in every
    // title would take from the names a width that the other arrows never use.
    function headerWidth(title, sorted) {
        return titleWidth(title) + (sorted ? table.arrowRoom : 0);
    }

    // A sort by a column that its title fills widens that column by the arrow, and no other.
    function makeRoomForArrow() {
        for (var i = 0; i < table.columnCount; ++i) {
            var column = table.getColumn(i);
            if (column.role === table.sortRole)
                column.width = Math.max(column.width, headerWidth(column.title, column.role === table.sortRole));
        }
    }

    // Columns follow their texts in the rows in sight and a screenful more, and never get
    // narrower than their titles. When together they are wider than the view, the widest
    // give way down to a common width, eliding their longest texts, so that every column and
    // the delete buttons stay in sight; titles and buttons stay whole. The widths come from
    // the model, so no cell has to be made for them.
    function fit() {
        var model = table.model;
        var roles = [];
        for (var c = 0; c < table.columnCount; ++c)
            roles.push(table.getColumn(c).role);
        var rows = 2 * Math.ceil(table.viewport.height / rowHeight);
        var texts = model ? model.textWidths(roles, rows, metrics.font) : [];
        var widths = [];
        var minimums = [];
        var excess = -table.viewport.width;
        for (var i = 0; i < table.columnCount; ++i) {
            var column = table.getColumn(i);
            var title = headerWidth(column.title, column.role === table.sortRole);
            var content = column.role === "delete" ? deleteWidth
                        : texts[i] > 0 ? Math.ceil(texts[i]) + 16 : 0;
            var width = Math.max(title, model && model.count > 0 ? content : 0);
            widths.push(width);
            minimums.push(column.role === "delete" ? width : title);
            excess += width;
        }
        // The largest common width that frees enough room.
        var low = Math.max.apply(null, widths);
        if (excess > 0) {
            low = 0;
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
        }
        for (i = 0; i < widths.length; ++i)
            table.getColumn(i).width = Math.min(widths[i], Math.max(low, minimums[i]));
    }
}
