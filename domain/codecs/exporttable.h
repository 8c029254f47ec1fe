#pragma once

#include "listrows.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

// What an export writes: the editing table's rows as cells with a type, under the columns
// "№", the table's data columns (ColumnSchema), "Вид" and one column per other key of the
// list.
struct ExportCell
{
    enum class Type : unsigned char { Empty, Text, Number, Boolean, Date };

    Type type = Type::Empty;
    bool flag = false;
    // What a text file or the printed list shows: a number as spelled in the file, a step
    // as the table shows it, a date as typed.
    QString text;
    // Number: its value, NaN when a double would change its digits. Date: the day.
    double number = 0;
    QDate date;
};

using ExportRowCells = std::vector<ExportCell>;

struct ExportTable
{
    // Columns before the first key that is not one of the table's: "№" and the table's
    // data columns; the printed list shows only these.
    int printedColumns = 0;
    // The column that holds the organization of a row.
    int organizationColumn = -1;

    QStringList titles;
    std::vector<ExportRowCells> rows;

    // The model's rows in the table's order. Keys that no row holds any more get no column.
    static ExportTable build(const std::vector<ListRow> &rows, const KeyTable &keys);
};
