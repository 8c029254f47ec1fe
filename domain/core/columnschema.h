#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <string>
#include <vector>

// The editing table's columns, in their order: the one place that says what each is
// called, whether it is edited, how it sorts, how an export types it, how it is shown and
// which import meanings fill it. The list model's roles, find, sort, the exports, the
// import preview and the table view all read it.
namespace ColumnSchema {

enum class SortKind { Text, Date, Number };
// How an export types a cell beyond the type of its value: a date column writes a real
// date as a date cell.
enum class ExportKind { Value, DateCell };
// How the table, find and the exports show a value.
enum class Shown { AsStored, Step };

struct Column
{
    // The list file's key and the model's role name.
    std::string key;
    QString title;
    bool editable = true;
    SortKind sort = SortKind::Text;
    ExportKind exportAs = ExportKind::Value;
    Shown shown = Shown::AsStored;
    // The import preview's name for the meaning that fills this column, and its place among
    // the meanings after the name's parts; empty and 0 for a column no import fills, whose
    // header words then mark a column to skip.
    QString importMeaning;
    int importPlace = 0;
    // Headers that name the column, folded: lower case, letters and digits only, "ё" as "е".
    QStringList headerWords;
};

// The key that tells a GTO record from a training one; it has no column of its own.
constexpr const char *kindKey = "isGto";

// The schema in use: the program's, or a test's while an Override lives.
const std::vector<Column> &columns();
// The program's own columns.
std::vector<Column> standardColumns();
// The column's place, or -1 for a key that has none.
int indexOf(const std::string &key);
const Column *find(const std::string &key);
// The value as the table shows it: a step 6.0 as 6; other values as they are.
QString shownText(const Column &column, const QVariant &value);

// Puts a test's columns in place for as long as it lives.
class Override
{
public:
    explicit Override(std::vector<Column> columns);
    ~Override();
    Override(const Override &) = delete;
    Override &operator=(const Override &) = delete;

private:
    std::vector<Column> own;
    const std::vector<Column> *previous;
};

} // namespace ColumnSchema
