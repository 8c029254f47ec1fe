#pragma once

#include "listrows.h"

#include <QString>
#include <QVariantMap>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Entries that name the same participant twice: the same identification number, the same
// bib number, or the same name with the same birth date.
namespace ListDuplicates {

enum Kind { Uuid, Bib, NameAndBirthDate, KindCount };

struct Result
{
    // Per row and kind, the group of rows sharing that value, or -1.
    std::vector<std::array<int, KindCount>> groupOf;
    // The rows of each group, in list order.
    std::vector<std::vector<int>> groups;
    // Rows in at least one group.
    int markedRows = 0;

    bool operator==(const Result &other) const
    {
        return groupOf == other.groupOf && groups == other.groups;
    }
};

// What makes a row the same as another, per kind, as a hash of its text; 0 where the row has
// no such value. A list of many thousands of rows keeps these beside it, so they are small.
using RowKeys = std::array<std::uint64_t, KindCount>;
std::vector<int> keyIndices(const KeyTable &keys);
RowKeys rowKeys(const ListRow &row, const std::vector<int> &keyIndices);

// From the rows' keys, which a caller may keep between changes.
Result find(const std::vector<RowKeys> &rowKeys);

// The rows whose value of `key` is `text`, both trimmed; none for an empty text.
std::vector<int> rowsWith(const std::vector<ListRow> &rows, int key, const QString &text);
// "запись 3" or "записи 3, 5": the rows of `group` but `self` counted from 1, at most
// `most` of them and "…" for the rest.
QString rowList(const std::vector<int> &group, int self, int most);
// The notes on the row's repeated values by column key, such as "Тот же УИН: запись 3",
// naming at most `most` other rows; empty for a row that repeats nothing.
QVariantMap notes(const Result &result, int row, int most);

} // namespace ListDuplicates
