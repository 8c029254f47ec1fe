#include "tableimport.h"

#include "columnschema.h"
#include "participantrules.h"

#include <QHash>
#include <algorithm>

namespace TableImport {

namespace {

QString headerKey(const QString &header)
{
    QString key;
    for (const QChar c : header.toLower()) {
        if (c.isLetterOrNumber())
            key.append(c == QChar(0x0451) ? QChar(0x0435) : c);
    }
    return key;
}

const SourceCell *cellAt(const SourceRow &row, int column)
{
    return std::size_t(column) < row.cells.size() ? &row.cells[std::size_t(column)] : nullptr;
}

// A dash or a dot stands for a missing value in a participant's row; of the marks without
// letters only a row number's sign names a column.
bool namesMeaning(const SourceCell &cell)
{
    return meaningOfHeader(cell.text) >= 0 &&
           (!headerKey(cell.text).isEmpty() || cell.text.contains(QChar(0x2116)) ||
            cell.text.contains(QLatin1Char('#')));
}

int recognised(const SourceRow &row)
{
    return int(std::count_if(row.cells.begin(), row.cells.end(), namesMeaning));
}

// One word a header knows may be a participant's value, such as a school called "Школа":
// a header names two meanings, or names what its only filled cell holds.
bool isHeader(const SourceRow &row)
{
    const int named = recognised(row);
    const auto filled = std::count_if(row.cells.begin(), row.cells.end(), [](const SourceCell &c) {
        return !c.text.trimmed().isEmpty();
    });
    return named >= 2 || (named == 1 && filled == 1);
}

// A second header row names only meanings, apart from cells merged down from above; a
// participant whose school is called "Школа" must not pass for one.
bool isLowerHeader(const SourceRow &row, const SourceRow &above)
{
    if (recognised(row) == 0)
        return false;
    for (std::size_t c = 0; c < row.cells.size(); ++c) {
        const QString &text = row.cells[c].text;
        if (!text.trimmed().isEmpty() && !namesMeaning(row.cells[c]) &&
            (c >= above.cells.size() || above.cells[c].text != text))
            return false;
    }
    return true;
}

// The schema's columns that an import fills, in the order the preview offers them.
std::vector<const ColumnSchema::Column *> importedColumns()
{
    std::vector<const ColumnSchema::Column *> imported;
    for (const ColumnSchema::Column &column : ColumnSchema::columns()) {
        if (column.importPlace > 0)
            imported.push_back(&column);
    }
    std::stable_sort(imported.begin(), imported.end(),
                     [](const auto *a, const auto *b) { return a->importPlace < b->importPlace; });
    return imported;
}

// Meanings before the columns' own.
constexpr int nameParts = FullName;

void join(QString &to, const QString &part)
{
    if (part.isEmpty())
        return;
    if (!to.isEmpty())
        to.append(QLatin1Char(' '));
    to.append(part);
}

} // namespace

bool isBlank(const SourceRow &row)
{
    return std::all_of(row.cells.begin(), row.cells.end(),
                       [](const SourceCell &cell) { return cell.text.trimmed().isEmpty(); });
}

QStringList meaningNames()
{
    QStringList names = {QStringLiteral("Фамилия"), QStringLiteral("Имя"),
                         QStringLiteral("Отчество")};
    for (const ColumnSchema::Column *column : importedColumns())
        names << column->importMeaning;
    return names << QStringLiteral("как есть") << QStringLiteral("пропустить");
}

int meaningCount()
{
    return nameParts + int(importedColumns().size()) + 2;
}

int asIsMeaning()
{
    return meaningCount() - 2;
}

int skipMeaning()
{
    return meaningCount() - 1;
}

int meaningOfColumn(const std::string &key)
{
    const std::vector<const ColumnSchema::Column *> imported = importedColumns();
    for (std::size_t i = 0; i < imported.size(); ++i) {
        if (imported[i]->key == key)
            return nameParts + int(i);
    }
    return -1;
}

int meaningOfHeader(const QString &header)
{
    // The list file's own keys and the editing table's titles are known too, so that a
    // list exported by this program comes back as it was. Age and step follow from the
    // birth date and are skipped.
    // Made again only when a test puts other columns in place.
    static const std::vector<ColumnSchema::Column> *madeFor = nullptr;
    static QHash<QString, int> known;
    if (madeFor != &ColumnSchema::columns()) {
        madeFor = &ColumnSchema::columns();
        known.clear();
        known.insert(QStringLiteral("фамилия"), Surname);
        known.insert(QStringLiteral("имя"), FirstName);
        known.insert(QStringLiteral("отчество"), Patronymic);
        for (const ColumnSchema::Column &column : ColumnSchema::columns()) {
            const int meaning =
                column.importPlace > 0 ? meaningOfColumn(column.key) : skipMeaning();
            for (const QString &word : column.headerWords)
                known.insert(word, meaning);
        }
        // Row numbers ("№", "№ п/п") too, and the kind, which the columns decide.
        for (const char *word : {"возраст", "isgto", "вид", "пп", "нпп"})
            known.insert(QString::fromUtf8(word), skipMeaning());
    }
    const QString key = headerKey(header);
    if (key.isEmpty())
        return header.trimmed().isEmpty() ? -1 : skipMeaning();
    return known.value(key, -1);
}

Columns guessColumns(const SourceTable &table)
{
    Columns columns;
    columns.headers = QVector<QString>(table.columnCount).toList();
    columns.meanings.assign(std::size_t(table.columnCount), skipMeaning());
    int header = -1;
    int filled = 0;
    for (int r = 0; r < int(table.rows.size()) && filled < 5 && header < 0; ++r) {
        if (isBlank(table.rows[std::size_t(r)]))
            continue;
        ++filled;
        if (isHeader(table.rows[std::size_t(r)]))
            header = r;
    }
    if (header < 0)
        return columns;
    int last = header;
    while (last + 1 < int(table.rows.size()) && last - header < 2 &&
           isLowerHeader(table.rows[std::size_t(last + 1)], table.rows[std::size_t(last)]))
        ++last;
    columns.headerRows = last + 1;

    std::vector<int> guesses(std::size_t(table.columnCount), -1);
    for (int r = header; r <= last; ++r) {
        for (int c = 0; c < table.columnCount; ++c) {
            const SourceCell *cell = cellAt(table.rows[std::size_t(r)], c);
            const QString text = cell ? ParticipantRules::trimName(cell->text) : QString();
            if (text.isEmpty())
                continue;
            // The lowest header row names the column.
            columns.headers[c] = text;
            const int meaning = meaningOfHeader(text);
            if (meaning >= 0)
                guesses[std::size_t(c)] = meaning;
        }
    }
    for (int c = 0; c < table.columnCount; ++c) {
        columns.meanings[std::size_t(c)] = guesses[std::size_t(c)] >= 0   ? guesses[std::size_t(c)]
                                           : columns.headers[c].isEmpty() ? skipMeaning()
                                                                          : asIsMeaning();
    }
    return columns;
}

Result build(const SourceTable &table, const Columns &columns, const QDate &today, bool makeRecords)
{
    // Kept columns go under their header, or a made-up one; never over a record's own key.
    QStringList recordKeys(ColumnSchema::kindKey);
    for (const ColumnSchema::Column &column : ColumnSchema::columns())
        recordKeys << QString::fromStdString(column.key);
    const int asIs = asIsMeaning(), skip = skipMeaning();
    const auto meanings = static_cast<std::size_t>(meaningCount());
    // Meanings of columns that the record builders know nothing of; an import keeps their
    // values under the column's key.
    std::vector<std::pair<int, std::string>> added;
    for (const ColumnSchema::Column &column : ColumnSchema::columns()) {
        const int meaning = meaningOfColumn(column.key);
        if (meaning > AthleticRank)
            added.emplace_back(meaning, column.key);
    }
    const int columnCount = int(columns.meanings.size());
    std::vector<std::string> keptKeys(static_cast<std::size_t>(columnCount));
    QStringList used;
    for (int c = 0; c < columnCount; ++c) {
        QString key = c < columns.headers.size() ? columns.headers[c] : QString();
        if (key.isEmpty() || recordKeys.contains(key) || used.contains(key))
            key = QStringLiteral("Столбец %1").arg(c + 1) +
                  (key.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(key));
        used.append(key);
        keptKeys[std::size_t(c)] = key.toStdString();
    }

    // Asking the clock for every row would read the time zone for every row.
    const QDate day = today.isValid() ? today : QDate::currentDate();
    Result result;
    for (int r = columns.headerRows; r < int(table.rows.size()); ++r) {
        const SourceRow &row = table.rows[std::size_t(r)];
        // A row filled only where columns are skipped, such as a numbered row of a template
        // that was never filled in, is empty for the import.
        const bool imported = [&] {
            for (int c = 0; c < columnCount && std::size_t(c) < row.cells.size(); ++c) {
                if (columns.meanings[std::size_t(c)] != skip &&
                    !row.cells[std::size_t(c)].text.trimmed().isEmpty())
                    return true;
            }
            return false;
        }();
        if (!imported)
            continue;
        std::vector<QString> values(meanings);
        std::vector<SourceCell::Kind> kinds(values.size(), SourceCell::Kind());
        for (int c = 0; c < columnCount; ++c) {
            const SourceCell *cell = cellAt(row, c);
            const int meaning = columns.meanings[std::size_t(c)];
            if (cell && meaning != asIs && meaning != skip) {
                if (values[std::size_t(meaning)].isEmpty())
                    kinds[std::size_t(meaning)] = cell->kind;
                join(values[std::size_t(meaning)], ParticipantRules::trimName(cell->text));
            }
        }
        const auto where = [r] { return QStringLiteral("строка %1: ").arg(r + 1); };
        QString name;
        for (const int part : {FullName, Surname, FirstName, Patronymic})
            join(name, values[std::size_t(part)]);
        if (name.isEmpty())
            result.problems.append(where() + QStringLiteral("нет имени"));

        QString &birthDate = values[BirthDate];
        if (!birthDate.isEmpty()) {
            // A number without a date style is what was typed, such as a year alone, not a
            // count of days; the readers give a date cell as dd.MM.yyyy.
            const QDate date = kinds[BirthDate] == SourceCell::Kind::Number
                                   ? QDate()
                                   : ParticipantRules::dateFromText(birthDate);
            if (!date.isValid()) {
                result.problems.append(where() + QStringLiteral("нет даты ") + birthDate);
            } else {
                birthDate = ParticipantRules::dateText(date);
                if (date > day)
                    result.problems.append(where() + QStringLiteral("дата рождения в будущем ") +
                                           birthDate);
            }
        }
        QString &gtoUuid = values[GtoUuid];
        if (!gtoUuid.isEmpty()) {
            const QString digits = ParticipantRules::gtoUuidDigits(gtoUuid);
            if (digits.isEmpty())
                result.problems.append(where() +
                                       QStringLiteral("УИН %1 — не 11 цифр").arg(gtoUuid));
            else
                gtoUuid = digits;
        }
        QString &sex = values[Sex];
        if (!sex.isEmpty()) {
            const QString letter = ParticipantRules::sexLetter(sex);
            if (letter.isEmpty())
                result.problems.append(where() + QStringLiteral("непонятный пол ") + sex);
            else
                sex = letter;
        }

        const bool gto = !birthDate.isEmpty() || !gtoUuid.isEmpty();
        ++result.rowCount;
        result.gtoCount += gto ? 1 : 0;
        if (!makeRecords)
            continue;
        ParticipantRecord record =
            gto ? ParticipantRules::gtoRecord({birthDate, values[Organization], gtoUuid, name, sex,
                                               values[PectoralNumber], values[AthleticRank]},
                                              day)
                : ParticipantRules::trainingRecord(values[Group], name, values[Organization]);
        for (const auto &[meaning, key] : added) {
            const QString &value = values[std::size_t(meaning)];
            if (!value.isEmpty() && !record.value(key))
                record.fields.emplace_back(key, ListValue::string(value));
        }
        for (int c = 0; c < columnCount; ++c) {
            const SourceCell *cell = cellAt(row, c);
            if (cell && columns.meanings[std::size_t(c)] == asIs) {
                const QString value = ParticipantRules::trimName(cell->text);
                if (!value.isEmpty() && !record.value(keptKeys[std::size_t(c)]))
                    record.fields.emplace_back(keptKeys[std::size_t(c)], ListValue::string(value));
            }
        }
        result.records.push_back(std::move(record));
    }
    return result;
}

} // namespace TableImport
