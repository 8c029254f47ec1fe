#include "delimitedtext.h"

#include <QTextCodec>
#include <algorithm>
#include <map>

namespace DelimitedText {

namespace {

// Control characters other than line ends and tabs mean the bytes were never text.
bool looksLikeText(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\n') &&
            c != QLatin1Char('\r'))
            return false;
    }
    return true;
}

// Splits at most `rowLimit` rows (all when negative); the callback gets each row's fields.
// A row holds one field beyond the column limit at most, blank unless any field there is
// filled: a line of a hundred million separators would not fit in memory as fields.
template <typename RowSink>
void split(const QString &text, QChar separator, int rowLimit, RowSink &&sink)
{
    std::vector<QString> fields;
    const auto keep = [&fields](QString &&value) {
        if (fields.size() <= std::size_t(SourceLimits::MaxColumns))
            fields.push_back(std::move(value));
        else if (!value.trimmed().isEmpty() && fields.back().trimmed().isEmpty())
            fields.back() = std::move(value);
    };
    QString field;
    const QChar *const begin = text.constData();
    const int size = text.size();
    int rows = 0;
    int i = 0;
    bool rowOpen = false;
    while (i < size && (rowLimit < 0 || rows < rowLimit)) {
        rowOpen = true;
        if (begin[i] == QLatin1Char('"')) {
            // A quoted field runs to the quote that no other quote follows.
            field.clear();
            ++i;
            while (i < size) {
                const int quote = text.indexOf(QLatin1Char('"'), i);
                if (quote < 0) {
                    field.append(begin + i, size - i);
                    i = size;
                    break;
                }
                field.append(begin + i, quote - i);
                i = quote + 1;
                if (i < size && begin[i] == QLatin1Char('"')) {
                    field.append(QLatin1Char('"'));
                    ++i;
                } else {
                    break;
                }
            }
            // Anything between the closing quote and the separator belongs to the field.
            const int from = i;
            while (i < size && begin[i] != separator && begin[i] != QLatin1Char('\n') &&
                   begin[i] != QLatin1Char('\r'))
                ++i;
            field.append(begin + from, i - from);
            field.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            keep(QString(field));
        } else {
            const int from = i;
            while (i < size && begin[i] != separator && begin[i] != QLatin1Char('\n') &&
                   begin[i] != QLatin1Char('\r'))
                ++i;
            keep(text.mid(from, i - from));
        }
        if (i < size && begin[i] == separator) {
            ++i;
            // A separator at the very end still opens one more, empty field.
            if (i == size)
                keep(QString());
            continue;
        }
        // At a line end: CR LF, LF or CR.
        if (i < size)
            i += begin[i] == QLatin1Char('\r') && i + 1 < size && begin[i + 1] == QLatin1Char('\n')
                     ? 2
                     : 1;
        sink(fields);
        fields.clear();
        rowOpen = false;
        ++rows;
    }
    if (rowOpen && (rowLimit < 0 || rows < rowLimit))
        sink(fields);
}

} // namespace

bool decode(const QByteArray &bytes, QString &text)
{
    const auto decodeWith = [&bytes, &text](const char *codec, int skip) {
        text = QTextCodec::codecForName(codec)->toUnicode(bytes.constData() + skip,
                                                          bytes.size() - skip);
    };
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        decodeWith("UTF-8", 3);
    } else if (bytes.startsWith("\xFF\xFE")) {
        decodeWith("UTF-16LE", 2);
    } else if (bytes.startsWith("\xFE\xFF")) {
        decodeWith("UTF-16BE", 2);
    } else {
        if (bytes.contains('\0'))
            return false;
        QTextCodec::ConverterState state;
        text =
            QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
        if (state.invalidChars > 0 || state.remainingChars > 0)
            decodeWith("Windows-1251", 0);
    }
    return looksLikeText(text);
}

QChar detectSeparator(const QString &text)
{
    // Tabs first: a spreadsheet's copy is tab-separated even when cells hold commas.
    const QChar candidates[] = {QLatin1Char('\t'), QLatin1Char(';'), QLatin1Char(',')};
    QChar best = QLatin1Char(';');
    int bestRows = 0;
    int bestFields = 0;
    const QString head = text.left(64 * 1024);
    for (const QChar separator : candidates) {
        // The field count most rows share; a title line above the table does not count.
        std::map<int, int> rowsWithCount;
        split(head, separator, 30, [&rowsWithCount](const std::vector<QString> &fields) {
            if (fields.size() > 1)
                ++rowsWithCount[int(fields.size())];
        });
        for (const auto &count : rowsWithCount) {
            if (count.second > bestRows || (count.second == bestRows && count.first > bestFields)) {
                best = separator;
                bestRows = count.second;
                bestFields = count.first;
            }
        }
    }
    return best;
}

bool parse(const QString &text, QChar separator, SourceTable &table, QString &reason)
{
    SourceTable result;
    long long cells = 0;
    bool tooWide = false;
    split(text, separator, -1, [&](const std::vector<QString> &fields) {
        if (cells > SourceLimits::MaxCells || tooWide)
            return;
        SourceRow row;
        // Empty trailing fields make no column of their own.
        int last = int(fields.size());
        while (last > 0 && fields[std::size_t(last - 1)].trimmed().isEmpty())
            --last;
        if (last > SourceLimits::MaxColumns) {
            tooWide = true;
            return;
        }
        row.cells.resize(std::size_t(last));
        for (int c = 0; c < last; ++c)
            row.cells[std::size_t(c)].text = fields[std::size_t(c)];
        cells += last;
        result.columnCount = std::max(result.columnCount, last);
        result.rows.push_back(std::move(row));
    });
    if (cells > SourceLimits::MaxCells) {
        reason = SourceLimits::tooManyCellsText();
        return false;
    }
    if (tooWide) {
        reason = SourceLimits::tooManyColumnsText();
        return false;
    }
    table = std::move(result);
    return true;
}

bool read(const QByteArray &bytes, SourceTable &table, QString &reason)
{
    QString text;
    if (!decode(bytes, text)) {
        reason = SourceLimits::notTableText();
        return false;
    }
    if (!parse(text, detectSeparator(text), table, reason))
        return false;
    // Files written for spreadsheets put an apostrophe before a text that starts like a
    // formula, as our own CSV export does; the apostrophe is no part of the value.
    for (SourceRow &row : table.rows) {
        for (SourceCell &cell : row.cells) {
            if (cell.text.size() > 1 && cell.text.at(0) == QLatin1Char('\'') &&
                QStringLiteral("=+-@\t\r").contains(cell.text.at(1)))
                cell.text.remove(0, 1);
        }
    }
    return true;
}

} // namespace DelimitedText
