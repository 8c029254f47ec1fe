#pragma once

#include "participantrecord.h"

#include <string>
#include <unordered_map>
#include <vector>

// Key names interned in the order first met: the order in which an editing table writes
// its keys, whatever order a single record has.
struct KeyTable
{
    std::vector<std::string> names;
    std::unordered_map<std::string, int> indexOf;

    int intern(const std::string &name);
    // The key's index, or -1 when it was never met.
    int find(const std::string &name) const;
    // Forgets the keys from index `size` on.
    void truncate(int size);
    int size() const { return int(names.size()); }
};

struct ListField
{
    ListValue value;
    int key = -1;
};

// A row holds only its own keys, in its own order: its size follows the record, not the
// keys that other rows or earlier lists brought.
using ListRow = std::vector<ListField>;

inline const ListValue *findValue(const ListRow &row, int key)
{
    for (const ListField &field : row) {
        if (field.key == key)
            return &field.value;
    }
    return nullptr;
}

// The row's value for `key`; a key the row lacks is added at the row's end.
inline ListValue &valueFor(ListRow &row, int key)
{
    for (ListField &field : row) {
        if (field.key == key)
            return field.value;
    }
    row.emplace_back();
    row.back().key = key;
    return row.back().value;
}
