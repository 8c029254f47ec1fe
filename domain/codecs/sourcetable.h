#pragma once

#include <QString>
#include <algorithm>
#include <atomic>
#include <utility>
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
    // Delimited text only: the encoding it was read in, as the preview names it.
    QString encoding;
    // Zero-based row and column of each cell cut to the length a sheet cell holds.
    std::vector<std::pair<int, int>> cutCells;
};

// Lets a reader on another thread tell how far it got, and stop when asked to.
class ReadControl
{
public:
    void cancel() { cancelled.store(true); }
    bool stopped() const { return cancelled.load(std::memory_order_relaxed); }
    // Per mille of the whole reading.
    int progress() const { return permille.load(std::memory_order_relaxed); }
    // `done` of `total` in the stretch [from, to) per mille of the whole.
    void report(qint64 done, qint64 total, int from = 0, int to = 1000)
    {
        if (total > 0)
            permille.store(from + int((to - from) * std::min(done, total) / total),
                           std::memory_order_relaxed);
    }

private:
    std::atomic<bool> cancelled{false};
    std::atomic<int> permille{0};
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
inline QString cancelledText()
{
    return QStringLiteral("чтение отменено");
}
inline QString unreadableText()
{
    return QStringLiteral("файл не читается");
}
} // namespace SourceLimits
