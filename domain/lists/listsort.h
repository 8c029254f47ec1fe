#pragma once

#include "listrows.h"

#include <vector>

namespace ListSort {

// How a column's values compare.
enum class Kind {
    // Russian collation: "ё" with "е", case ignored.
    Text,
    // Birth dates by the day they name; texts that name none after every date.
    Date,
    // Numbers by value, then other texts by collation.
    Number,
};

// The kind of the column that shows `keyName`.
Kind kindOf(const char *keyName);

// The new order of `rows` sorted by the values of `key`: row order[i] goes to place i.
// Equal values keep their order, and rows without a value come last either way.
std::vector<int> order(const std::vector<ListRow> &rows, int key, Kind kind, bool descending);

} // namespace ListSort
