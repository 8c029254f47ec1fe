#include "xlsxexport.h"

#include "celltext.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <algorithm>
#include <cmath>
#include <xlsxwriter.h>

namespace XlsxExport {

namespace {

// Spreadsheet column widths count digit widths; Cyrillic letters are a little wider.
double widthOf(const QString &text)
{
    return text.size() * 1.1 + 2;
}

// What a cell's text becomes in the sheet: characters XML cannot hold as U+FFFD (counted
// in `replaced`), a literal "_xHHHH_" escaped so that it reads back as typed, and no more
// than a cell holds; the list file and the CSV export keep the whole value. The library
// takes a C string, which no U+0000 is left to cut.
QByteArray cellText(QString text, int *replaced)
{
    if (CellText::replaceNonXml(text) && replaced)
        ++*replaced;
    CellText::cap(text);
    QString escaped = CellText::escapeSheetText(text);
    // The library counts the escaped spelling against the limit.
    while (escaped.size() > CellText::MaxLength) {
        text.chop(escaped.size() - CellText::MaxLength);
        if (!text.isEmpty() && text.at(text.size() - 1).isHighSurrogate())
            text.chop(1);
        escaped = CellText::escapeSheetText(text);
    }
    return escaped.toUtf8();
}

bool writeCell(lxw_worksheet *sheet, lxw_row_t row, lxw_col_t column, const ExportCell &cell,
               lxw_format *dateFormat, int *replaced)
{
    lxw_error error = LXW_NO_ERROR;
    switch (cell.type) {
    case ExportCell::Type::Empty:
        return true;
    case ExportCell::Type::Boolean:
        error = worksheet_write_boolean(sheet, row, column, cell.flag, nullptr);
        break;
    case ExportCell::Type::Date: {
        lxw_datetime date = {cell.date.year(), cell.date.month(), cell.date.day(), 0, 0, 0};
        error = worksheet_write_datetime(sheet, row, column, &date, dateFormat);
        break;
    }
    case ExportCell::Type::Number:
        if (!std::isnan(cell.number)) {
            error = worksheet_write_number(sheet, row, column, cell.number, nullptr);
            break;
        }
        // A number with more digits than a double keeps stays whole as text.
        Q_FALLTHROUGH();
    case ExportCell::Type::Text:
        // Text cells are never read as numbers or dates, so leading zeros survive.
        error = worksheet_write_string(sheet, row, column,
                                       cellText(cell.text, replaced).constData(), nullptr);
        break;
    }
    return error == LXW_NO_ERROR;
}

// Fills the workbook; false on the first cell it refuses.
bool fill(lxw_workbook *book, const ExportTable &table, int *replaced)
{
    lxw_worksheet *sheet = workbook_add_worksheet(book, "Участники");
    lxw_format *bold = workbook_add_format(book);
    lxw_format *dateFormat = workbook_add_format(book);
    if (!sheet || !bold || !dateFormat)
        return false;
    format_set_bold(bold);
    format_set_num_format(dateFormat, "dd.mm.yyyy");

    const int columns = table.titles.size();
    if (table.rows.size() >= LXW_ROW_MAX || columns > LXW_COL_MAX)
        return false;
    // The header's filter button takes room beside its title.
    std::vector<double> widths(std::size_t(columns), 0);
    for (int c = 0; c < columns; ++c) {
        const QString &title = table.titles.at(c);
        widths[std::size_t(c)] = widthOf(title) + 2;
        if (worksheet_write_string(sheet, 0, lxw_col_t(c), cellText(title, replaced).constData(),
                                   bold) != LXW_NO_ERROR)
            return false;
    }
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const ExportRowCells &row = table.rows[r];
        // Every row has a title for each of its cells; a longer one has no column width.
        if (row.size() > widths.size())
            return false;
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (!writeCell(sheet, lxw_row_t(r + 1), lxw_col_t(c), row[c], dateFormat, replaced))
                return false;
            const double width = row[c].type == ExportCell::Type::Date ? 12 : widthOf(row[c].text);
            widths[c] = std::max(widths[c], width);
        }
    }
    for (int c = 0; c < columns; ++c) {
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c),
                             std::min(widths[std::size_t(c)], 60.0), nullptr);
    }
    worksheet_freeze_panes(sheet, 1, 0);
    return worksheet_autofilter(sheet, 0, 0, lxw_row_t(table.rows.size()),
                                lxw_col_t(columns - 1)) == LXW_NO_ERROR;
}

} // namespace

bool write(const ExportTable &table, QByteArray &out, int *replacedCells)
{
    if (replacedCells)
        *replacedCells = 0;
    // The library writes only to a named file; the caller replaces the target with the
    // bytes, so a failure here never touches it.
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/quillor-export-XXXXXX.xlsx"));
    if (!file.open())
        return false;
    file.close();
    const QByteArray name = QFile::encodeName(file.fileName());
    QByteArray tmpdir = QFile::encodeName(QDir::tempPath());

    lxw_workbook_options options = {};
    options.tmpdir = tmpdir.data();
    lxw_workbook *book = workbook_new_opt(name.constData(), &options);
    if (!book)
        return false;
    const bool filled = fill(book, table, replacedCells);
    // Closing frees the workbook whether it was filled or not.
    if (workbook_close(book) != LXW_NO_ERROR || !filled)
        return false;

    QFile written(file.fileName());
    if (!written.open(QIODevice::ReadOnly))
        return false;
    out = written.readAll();
    return !out.isEmpty();
}

} // namespace XlsxExport
