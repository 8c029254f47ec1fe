#include "exporttable.h"

#include "columnschema.h"
#include "listtext.h"
#include "participantrules.h"

#include <QLocale>
#include <QVariant>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

// A birth date "d.M.yyyy" that exists and that a spreadsheet can hold (from 1900 on).
QDate realDate(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 3 || parts[0].isEmpty() || parts[0].size() > 2 || parts[1].isEmpty() ||
        parts[1].size() > 2 || parts[2].size() != 4)
        return QDate();
    int numbers[3];
    for (int i = 0; i < 3; ++i) {
        for (const QChar c : parts[i]) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return QDate();
        }
        numbers[i] = parts[i].toInt();
    }
    const QDate date(numbers[2], numbers[1], numbers[0]);
    return date.isValid() && date.year() >= 1900 ? date : QDate();
}

// The value of a JSON number, or NaN when a double cannot hold all its digits: a
// spreadsheet would show a long number with other digits than the file has.
double exactNumber(std::string_view text)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    double value = 0;
    const char *begin = text.data() + (text.compare(0, 1, "-") == 0 ? 1 : 0);
    const char *const end = text.data() + text.size();
    const auto parsed = std::from_chars(begin, end, value);
    if (parsed.ec != std::errc() || parsed.ptr != end || !std::isfinite(value))
        return nan;
    std::string digits;
    for (const char *p = begin; p != end && *p != 'e' && *p != 'E'; ++p) {
        if (*p != '.')
            digits += *p;
    }
    const auto first = digits.find_first_not_of('0');
    const auto last = digits.find_last_not_of('0');
    const std::size_t significant = first == std::string::npos ? 0 : last - first + 1;
    if (significant > 15)
        return nan;
    return begin == text.data() ? value : -value;
}

QVariant variantOf(const ListValue &value)
{
    switch (value.type) {
    case ListValue::Type::Boolean:
        return value.boolean;
    case ListValue::Type::Null:
        return QVariant::fromValue(nullptr);
    default:
        return ListText::fromUtf8(value.text);
    }
}

ExportCell cellOf(const ListValue *value)
{
    ExportCell cell;
    if (!value)
        return cell;
    switch (value->type) {
    case ListValue::Type::Null:
        return cell;
    case ListValue::Type::Boolean:
        cell.type = ExportCell::Type::Boolean;
        cell.flag = value->boolean;
        cell.text = value->boolean ? QStringLiteral("true") : QStringLiteral("false");
        return cell;
    case ListValue::Type::Number:
        cell.type = ExportCell::Type::Number;
        cell.number = exactNumber(viewOf(value->text));
        break;
    default:
        cell.type = ExportCell::Type::Text;
    }
    cell.text = ListText::fromUtf8(value->text);
    return cell;
}

} // namespace

ExportTable ExportTable::build(const std::vector<ListRow> &rows, const KeyTable &keys)
{
    const std::vector<ColumnSchema::Column> &dataColumns = ColumnSchema::columns();
    const int dataColumnCount = int(dataColumns.size());
    ExportTable table;
    table.printedColumns = 1 + dataColumnCount;
    table.organizationColumn = 1 + ColumnSchema::indexOf("organization");
    table.titles << QStringLiteral("№");
    std::vector<int> columnKeys;
    for (const ColumnSchema::Column &column : dataColumns) {
        table.titles << column.title;
        columnKeys.push_back(keys.find(column.key));
    }
    table.titles << QStringLiteral("Вид");
    const int gtoKey = keys.find(ColumnSchema::kindKey);

    // Every other key that some row still holds, in the table's key order.
    std::vector<bool> held(std::size_t(keys.size()), false);
    for (const ListRow &row : rows) {
        for (const ListField &field : row)
            held[std::size_t(field.key)] = true;
    }
    std::vector<int> otherKeys;
    for (int key = 0; key < keys.size(); ++key) {
        const bool known = key == gtoKey ||
                           std::find(columnKeys.begin(), columnKeys.end(), key) != columnKeys.end();
        if (held[std::size_t(key)] && !known) {
            otherKeys.push_back(key);
            table.titles << QString::fromStdString(keys.names[std::size_t(key)]);
        }
    }

    table.rows.reserve(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const ListRow &row = rows[r];
        ExportRowCells cells;
        cells.reserve(std::size_t(table.titles.size()));

        ExportCell number;
        number.type = ExportCell::Type::Number;
        number.number = double(r + 1);
        number.text = QString::number(qulonglong(r + 1));
        cells.push_back(std::move(number));

        for (int c = 0; c < dataColumnCount; ++c) {
            const int key = columnKeys[std::size_t(c)];
            const ListValue *value = key < 0 ? nullptr : findValue(row, key);
            ExportCell cell = cellOf(value);
            const ColumnSchema::Column &column = dataColumns[std::size_t(c)];
            if (column.shown != ColumnSchema::Shown::AsStored && value) {
                cell.text = ColumnSchema::shownText(column, variantOf(*value));
                // A number too is written as the table shows it: 6.4 as 6.
                if (cell.type == ExportCell::Type::Number) {
                    bool shownNumber = false;
                    cell.number = QLocale::c().toDouble(cell.text, &shownNumber);
                    if (!shownNumber)
                        cell.type = ExportCell::Type::Text;
                }
            }
            if (column.exportAs == ColumnSchema::ExportKind::DateCell &&
                cell.type == ExportCell::Type::Text) {
                cell.date = realDate(cell.text);
                if (cell.date.isValid())
                    cell.type = ExportCell::Type::Date;
            }
            cells.push_back(std::move(cell));
        }

        // The kind of record; a foreign value that is no boolean is shown as it is.
        const ListValue *gto = gtoKey < 0 ? nullptr : findValue(row, gtoKey);
        ExportCell kind = cellOf(gto);
        if (gto && gto->type == ListValue::Type::Boolean) {
            kind.type = ExportCell::Type::Text;
            kind.text = gto->boolean ? QStringLiteral("ГТО") : QStringLiteral("Тренировка");
        }
        cells.push_back(std::move(kind));

        for (const int key : otherKeys)
            cells.push_back(cellOf(findValue(row, key)));
        table.rows.push_back(std::move(cells));
    }
    return table;
}
