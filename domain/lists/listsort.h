#pragma once

#include "columnschema.h"
#include "listrows.h"

#include <vector>

namespace ListSort {

// How a column's values compare. Text: Russian collation, "ё" with "е", case ignored.
// Date: birth dates by the day they name; texts that name none after every date. Number:
// numbers by value, then other texts by collation.
using Kind = ColumnSchema::SortKind;

// The new order of `rows` sorted by the values of `key`: row order[i] goes to place i.
// Equal values keep their order, and rows without a value come last either way.
std::vector<int> order(const std::vector<ListRow> &rows, int key, Kind kind, bool descending);

} // namespace ListSort
