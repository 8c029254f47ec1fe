#include "delimitedtext.h"

#include "celltext.h"

#include <QTextCodec>
#include <algorithm>
#include <map>

namespace DelimitedText {

namespace {

// Control characters other than line ends and tabs mean the bytes were never text.
bool looksLikeText(const QString &text, const ReadControl *control)
{
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\n') &&
            c != QLatin1Char('\r'))
            return false;
        if ((i & 0xFFFFF) == 0 && control && control->stopped())
            return false;
    }
    return true;
}

// Splits at most `rowLimit` rows (all when negative); the callback gets each row's fields
// and stops the splitting by returning false.
// A row holds one field beyond the column limit at most, blank unless any field there is
// filled: a line of a hundred million separators would not fit in memory as fields.
// A cancel through `control` is heeded within a row too, as one row may be the whole file.
template <typename RowSink>
void split(const QString &text, QChar separator, int rowLimit, RowSink &&sink,
           const ReadControl *control = nullptr)
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
            // No more of a field is kept than the cap needs, line ends counted twice
            // before they become one.
            const auto append = [&field](const QChar *from, int count) {
                field.append(from, std::min(count, std::max(0, 2 * (CellText::MaxLength + 1) -
                                                                   field.size())));
            };
            while (i < size) {
                const int quote = text.indexOf(QLatin1Char('"'), i);
                if (quote < 0) {
                    append(begin + i, size - i);
                    i = size;
                    break;
                }
                append(begin + i, quote - i);
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
            append(begin + from, i - from);
            field.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            keep(QString(field));
        } else {
            const int from = i;
            while (i < size && begin[i] != separator && begin[i] != QLatin1Char('\n') &&
                   begin[i] != QLatin1Char('\r')) {
                if ((++i & 0xFFFFF) == 0 && control && control->stopped())
                    return;
            }
            keep(text.mid(from, std::min(i - from, CellText::MaxLength + 1)));
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
        if (!sink(fields, i))
            return;
        fields.clear();
        rowOpen = false;
        ++rows;
    }
    if (rowOpen && (rowLimit < 0 || rows < rowLimit))
        sink(fields, i);
}

// Decodes in pieces, so that a reading on another thread can be cancelled in between;
// false when the bytes are not valid in the codec.
bool decodes(const QByteArray &bytes, const char *codecName, QString &text, ReadControl *control)
{
    constexpr int Piece = 4 << 20;
    QTextCodec *codec = QTextCodec::codecForName(codecName);
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    text.clear();
    text.reserve(bytes.size());
    for (int from = 0; from < bytes.size(); from += Piece) {
        if (control && control->stopped())
            return false;
        text += codec->toUnicode(bytes.constData() + from, std::min(Piece, bytes.size() - from),
                                 &state);
        if (control)
            control->report(from, bytes.size(), 100, 300);
    }
    return state.invalidChars == 0 && state.remainingChars == 0;
}

// Of the Cyrillic single-byte encodings, the one whose reading of the file's first letters
// has the most of the commonest small Russian letters; capitals, symbols and box drawing
// characters, which the other readings make of small letters, count against it.
QString likeliestCyrillic(const QByteArray &bytes)
{
    static const QString common = QStringLiteral("оеаинтсрвлкмдпуяыьгзбчйхжшюцщэфъё");
    const QByteArray head = bytes.left(64 * 1024);
    QString best = QStringLiteral("Windows-1251");
    long bestScore = 0;
    for (const char *name : {"Windows-1251", "KOI8-R", "IBM866"}) {
        long score = 0;
        for (const QChar c : QTextCodec::codecForName(name)->toUnicode(head)) {
            if (c.unicode() < 0x80)
                continue;
            const int rank = common.indexOf(c);
            score += rank >= 0 ? common.size() - rank : c.isUpper() ? 0 : -common.size() / 2;
        }
        if (score > bestScore) {
            bestScore = score;
            best = name == QByteArray("IBM866") ? QStringLiteral("CP866") : QString(name);
        }
    }
    return best;
}

} // namespace

QStringList encodings()
{
    return {QStringLiteral("UTF-8"), QStringLiteral("UTF-16"), QStringLiteral("Windows-1251"),
            QStringLiteral("KOI8-R"), QStringLiteral("CP866")};
}

bool decode(const QByteArray &bytes, QString &text, const QString &encoding, QString *used,
            ReadControl *control)
{
    // Bytes of a byte-order mark to pass over; -1 once the text is decoded already.
    int skip = 0;
    QString name = encoding;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        skip = name.isEmpty() || name == QLatin1String("UTF-8") ? 3 : 0;
        name = name.isEmpty() ? QStringLiteral("UTF-8") : name;
    } else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        skip = name.isEmpty() || name == QLatin1String("UTF-16") ? 2 : 0;
        name = name.isEmpty() ? QStringLiteral("UTF-16") : name;
    } else if (name.isEmpty()) {
        if (bytes.contains('\0'))
            return false;
        name = decodes(bytes, "UTF-8", text, control) ? QStringLiteral("UTF-8")
                                                      : likeliestCyrillic(bytes);
        if (name == QLatin1String("UTF-8"))
            skip = -1;
    }
    if (control && control->stopped())
        return false;
    if (skip >= 0) {
        const QByteArray codec = name == QLatin1String("UTF-16")
                                     ? (bytes.startsWith("\xFE\xFF") ? "UTF-16BE" : "UTF-16LE")
                                 : name == QLatin1String("CP866") ? "IBM866"
                                                                  : name.toLatin1();
        decodes(QByteArray::fromRawData(bytes.constData() + skip, bytes.size() - skip), codec, text,
                control);
        if (control && control->stopped())
            return false;
    }
    if (used)
        *used = name;
    // A file that says it is text by its byte-order mark may hold any character.
    return skip > 0 || looksLikeText(text, control);
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
        split(head, separator, 30, [&rowsWithCount](const std::vector<QString> &fields, int) {
            if (fields.size() > 1)
                ++rowsWithCount[int(fields.size())];
            return true;
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

bool parse(const QString &text, QChar separator, SourceTable &table, QString &reason,
           ReadControl *control)
{
    SourceTable result;
    long long cells = 0;
    bool tooWide = false;
    // The splitting stops as soon as a limit is met.
    split(
        text, separator, -1,
        [&](const std::vector<QString> &fields, int position) {
            if (control) {
                if (control->stopped())
                    return false;
                control->report(position, text.size(), 300);
            }
            SourceRow row;
            // Empty trailing fields make no column of their own.
            int last = int(fields.size());
            while (last > 0 && fields[std::size_t(last - 1)].trimmed().isEmpty())
                --last;
            if (last > SourceLimits::MaxColumns) {
                tooWide = true;
                return false;
            }
            row.cells.resize(std::size_t(last));
            for (int c = 0; c < last; ++c) {
                QString &text = row.cells[std::size_t(c)].text;
                text = fields[std::size_t(c)];
                if (CellText::cap(text))
                    result.cutCells.emplace_back(int(result.rows.size()), c);
            }
            cells += last;
            result.columnCount = std::max(result.columnCount, last);
            result.rows.push_back(std::move(row));
            return cells <= SourceLimits::MaxCells;
        },
        control);
    if (control && control->stopped()) {
        reason = SourceLimits::cancelledText();
        return false;
    }
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

bool read(QByteArray bytes, SourceTable &table, QString &reason, const QString &encoding,
          ReadControl *control)
{
    QString text;
    QString used;
    const bool decoded = decode(bytes, text, encoding, &used, control);
    bytes = QByteArray();
    if (control && control->stopped()) {
        reason = SourceLimits::cancelledText();
        return false;
    }
    if (!decoded) {
        reason = SourceLimits::notTableText();
        return false;
    }
    if (!parse(text, detectSeparator(text), table, reason, control))
        return false;
    table.encoding = used;
    // Files written for spreadsheets put an apostrophe before a text that starts like a
    // formula, as our own CSV export does; the apostrophe is no part of the value.
    for (SourceRow &row : table.rows) {
        for (SourceCell &cell : row.cells) {
            if (cell.text.startsWith(QLatin1Char('\'')))
                cell.text = CellText::withoutApostrophe(cell.text);
        }
    }
    return true;
}

} // namespace DelimitedText
