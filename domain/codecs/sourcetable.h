#pragma once

#include <QString>
#include <vector>

// A table as a file or the clipboard holds it, before any column has a meaning.
struct SourceCell
{
    // Spreadsheets tell numbers and dates from text; delimited text has only text.
    enum class Kind : unsigned char { Text, Number, Date };

    // Text as written; a number in its shortest spelling, a date as dd.MM.yyyy.
    QString text;
    Kind kind = Kind::Text;
};

struct SourceRow
{
    std::vector<SourceCell> cells;
};

struct SourceTable
{
    // Row i is the source's row i + 1, empty rows included, so problems can name the row
    // the operator sees in the spreadsheet.
    std::vector<SourceRow> rows;
    int columnCount = 0;
};

// What every reader refuses, before it holds more than it can show.
namespace SourceLimits {
constexpr long long MaxCells = 1000000;
constexpr long long MaxBytes = 200LL * 1024 * 1024;
// More columns than a participant list ever has is a file of something else.
constexpr int MaxColumns = 256;

// The readers' causes for refusing a file, shown under the load notice.
inline QString tooManyCellsText()
{
    return QStringLiteral("больше 1 000 000 ячеек");
}
inline QString tooManyColumnsText()
{
    return QStringLiteral("больше %1 столбцов").arg(MaxColumns);
}
inline QString notTableText()
{
    return QStringLiteral("это не таблица");
}
inline QString unreadableText()
{
    return QStringLiteral("файл не читается");
}
} // namespace SourceLimits
