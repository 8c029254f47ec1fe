#pragma once

#include "listrows.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The list file's JSON text: a compact array of records, strings escaped as ECMAScript's
// JSON.stringify escapes them.
namespace ListJson {

// How a writer orders the keys of a row.
enum class KeyOrder {
    // By the table's order of first meeting, as the editing page writes.
    FirstMet,
    // As the record holds them, as the creation page writes.
    Record,
};

// Why a text is no list.
struct ReadError
{
    enum Kind {
        None,
        // Not JSON at all: a stray character, a missing bracket, a raw control character.
        Syntax,
        // JSON, but not an array.
        NotAList,
        // A number beyond the range of a double.
        NumberOutOfRange,
        // A \u escape of one half of a surrogate pair without the other.
        LoneSurrogate,
        // A key met twice in one record: one of its values would be lost.
        RepeatedKey,
    };
    Kind kind = None;
    // Bytes read before the offending character; for a number, before its first digit.
    std::size_t offset = 0;
    // What the text holds instead of an array, for NotAList.
    ListValue::Type found = ListValue::Type::Array;
    // The number, for NumberOutOfRange; the key, for RepeatedKey.
    std::string token;
    // The record holding the repeated key, counted from 1 among the list's elements.
    long long record = 0;
};

struct ReadResult
{
    std::vector<ListRow> rows;
    // Elements of the array that are not objects and so became no row.
    long long skipped = 0;
    long long firstSkipped = -1;
    ReadError error;
};

// Reads the JSON array in [begin, end): each object element becomes a row, its keys
// interned into `keys`. Anything that is not a JSON array gives false and says why in
// result.error; `keys` may then hold names of the failed text, so callers pass a copy
// they can drop.
bool read(const char *begin, const char *end, KeyTable &keys, ReadResult &result);

void appendQuoted(std::string &out, std::string_view text);
void appendValue(std::string &out, const ListValue &value);
// The rows as a compact JSON array, without a line end.
QByteArray write(const std::vector<ListRow> &rows, const KeyTable &keys, KeyOrder order);
// One record in its own key order.
std::string write(const ParticipantRecord &record);

} // namespace ListJson
