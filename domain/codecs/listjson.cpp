#include "listjson.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cstring>
#include <iterator>
#include <nlohmann/json.hpp>
#include <type_traits>

namespace ListJson {

namespace {

using Type = ListValue::Type;

template <typename Integer> void appendInteger(std::string &out, Integer value)
{
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof(digits), value);
    out.append(digits, result.ptr);
}

// Builds rows from the parser's events. Nested arrays and objects are kept as their
// compact text, so nothing here or later recurses however deep a file nests.
class ListReader
{
public:
    using Json = nlohmann::ordered_json;

    ListReader(KeyTable &keys, ReadResult &result) : keys(keys), result(result) {}
    // `cursor` follows the parser through the text that starts at `origin`, for the place
    // of a repeated key.
    ListReader(KeyTable &keys, ReadResult &result, const char *origin, const char *const *cursor)
        : keys(keys), result(result), origin(origin), cursor(cursor)
    {
    }

    bool null() { return scalar(Type::Null, nullText); }
    bool boolean(bool value) { return scalar(Type::Boolean, value ? trueText : falseText, value); }
    bool number_integer(Json::number_integer_t value) { return integer(value); }
    bool number_unsigned(Json::number_unsigned_t value) { return integer(value); }
    // The number's own spelling is kept (1.50 stays 1.50, big integers stay exact). The
    // lexer hands it over with the decimal point of the process's C locale, which Qt sets
    // from the user's: a comma under a Russian one.
    bool number_float(Json::number_float_t, const std::string &spelling)
    {
        number = spelling;
        for (char &c : number) {
            if (!(c >= '0' && c <= '9') && c != 'e' && c != 'E' && c != '+' && c != '-')
                c = '.';
        }
        return scalar(Type::Number, number);
    }
    bool string(std::string &value) { return scalar(Type::String, value); }
    bool binary(Json::binary_t &) { return false; }

    bool start_object(std::size_t) { return open('{', Type::Object); }
    bool start_array(std::size_t) { return open('[', Type::Array); }
    bool end_object() { return close('}'); }
    bool end_array() { return close(']'); }
    bool key(std::string &name)
    {
        if (skipping)
            return true;
        if (depth == 2) {
            currentKey = keyAt(name);
            if (std::size_t(currentKey) < seen.size() &&
                seen[std::size_t(currentKey)].first == result.rows.size())
                return repeatedKey(name);
            return true;
        }
        separate();
        appendQuoted(nested, name);
        nested += ':';
        needComma = false;
        return true;
    }
    bool parse_error(std::size_t position, const std::string &token,
                     const nlohmann::detail::exception &error)
    {
        ReadError &failure = result.error;
        failure.offset = position > 0 ? position - 1 : 0;
        if (error.id == 406) {
            // Reported once the whole number is read.
            failure.kind = ReadError::NumberOutOfRange;
            failure.token = token;
            failure.offset = position >= token.size() ? position - token.size() : 0;
        } else if (std::strstr(error.what(), "surrogate")) {
            failure.kind = ReadError::LoneSurrogate;
        } else {
            failure.kind = ReadError::Syntax;
        }
        return false;
    }

private:
    // Levels: 0 outside the list, 1 in the list, 2 in a row, 3 and more in a row's value.
    bool open(char bracket, Type type)
    {
        if (depth == 0) {
            // Only an array is a list.
            if (bracket != '[')
                return notAList(type);
            depth = 1;
            return true;
        }
        ++depth;
        if (depth == 2) {
            if (bracket == '{') {
                result.rows.emplace_back().reserve(hints.size());
                position = 0;
            } else {
                skip();
                skipping = true;
            }
            return true;
        }
        if (skipping)
            return true;
        if (depth == 3) {
            nested.clear();
            nestedType = type;
        } else {
            separate();
        }
        nested += bracket;
        needComma = false;
        return true;
    }

    bool close(char bracket)
    {
        --depth;
        if (depth <= 1) {
            skipping = false;
            return true;
        }
        if (skipping)
            return true;
        nested += bracket;
        needComma = true;
        if (depth == 2) {
            ListValue &stored = slot();
            stored.type = nestedType;
            stored.text = QByteArray(nested.data(), int(nested.size()));
        }
        return true;
    }

    bool repeatedKey(const std::string &name)
    {
        ReadError &failure = result.error;
        failure.kind = ReadError::RepeatedKey;
        failure.token = name;
        failure.record = static_cast<long long>(result.rows.size()) + result.skipped;
        // The parser has just read the key's closing quotation mark.
        if (cursor)
            failure.offset = std::size_t(*cursor - origin);
        return false;
    }

    bool notAList(Type found)
    {
        result.error.kind = ReadError::NotAList;
        result.error.found = found;
        return false;
    }

    bool scalar(Type type, const std::string &text, bool boolean = false)
    {
        if (depth == 0)
            return notAList(type);
        if (depth == 1) {
            skip();
            return true;
        }
        if (skipping)
            return true;
        if (depth == 2) {
            ListValue &stored = slot();
            stored.type = type;
            stored.boolean = boolean;
            // Booleans and null are written from the type alone.
            if (type == Type::Boolean || type == Type::Null)
                stored.text.clear();
            else
                stored.text = shared(text);
            return true;
        }
        separate();
        if (type == Type::String)
            appendQuoted(nested, text);
        else
            nested += text;
        needComma = true;
        return true;
    }

    template <typename Integer> bool integer(Integer value)
    {
        number.clear();
        // The lexer hands over as signed only integers spelled with a minus sign, and
        // JSON spells every integer but zero in one way only: a signed zero was "-0".
        if (std::is_signed<Integer>::value && value == 0)
            number = "-";
        appendInteger(number, value);
        return scalar(Type::Number, number);
    }

    void skip()
    {
        if (result.firstSkipped < 0)
            result.firstSkipped = static_cast<long long>(result.rows.size()) + result.skipped;
        ++result.skipped;
    }

    void separate()
    {
        if (needComma)
            nested += ',';
    }

    // Rows of one file mostly repeat the same keys in the same order, so the key met at
    // the same position in the previous row is tried before the lookup.
    int keyAt(const std::string &name)
    {
        if (position < hints.size() && keys.names[std::size_t(hints[position])] == name)
            return hints[position++];
        const int index = keys.intern(name);
        if (position < hints.size())
            hints[position] = index;
        else
            hints.push_back(index);
        ++position;
        return index;
    }

    QByteArray shared(const std::string &text)
    {
        // Long texts are hardly ever repeated.
        if (text.size() > 256)
            return QByteArray(text.data(), int(text.size()));
        QByteArray &slot = recent[std::hash<std::string>()(text) % recent.size()];
        if (slot.size() != int(text.size()) ||
            std::memcmp(slot.constData(), text.data(), text.size()) != 0)
            slot = QByteArray(text.data(), int(text.size()));
        return slot;
    }

    // The row's field for the current key.
    ListValue &slot()
    {
        ListRow &row = result.rows.back();
        const std::size_t rowNumber = result.rows.size();
        if (seen.size() <= std::size_t(currentKey))
            seen.resize(std::size_t(currentKey) + 1, {0, 0});
        auto &where = seen[std::size_t(currentKey)];
        if (where.first == rowNumber)
            return row[where.second].value;
        where = {rowNumber, row.size()};
        row.emplace_back();
        row.back().key = currentKey;
        return row.back().value;
    }

    const std::string nullText = "null";
    const std::string trueText = "true";
    const std::string falseText = "false";
    KeyTable &keys;
    ReadResult &result;
    std::size_t depth = 0;
    bool skipping = false;
    int currentKey = -1;
    std::size_t position = 0;
    std::vector<int> hints;
    // Per key: the row (counted from 1) that last held it, and the field's place there.
    std::vector<std::pair<std::size_t, std::size_t>> seen;
    std::string nested;
    Type nestedType = Type::Array;
    bool needComma = false;
    std::string number;
    const char *origin = nullptr;
    const char *const *cursor = nullptr;
    // Texts met lately, by a hash of their bytes: a list repeats its organizations, steps
    // and sexes row after row, and each is held once however often it comes. A text met
    // once only takes a slot until another needs it, which costs far less than a set of
    // every text of a large list.
    std::array<QByteArray, 4096> recent;
};

} // namespace

namespace {

// A pointer into the text that leaves where it stands for the reader to see. Only the
// rare text with a repeated key is read with it, to tell where that key stands.
struct TellingIterator
{
    using iterator_category = std::forward_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char *;
    using reference = const char &;

    const char *at = nullptr;
    const char **tell = nullptr;

    reference operator*() const { return *at; }
    TellingIterator &operator++()
    {
        ++at;
        if (tell)
            *tell = at;
        return *this;
    }
    TellingIterator operator++(int)
    {
        TellingIterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const TellingIterator &other) const { return at == other.at; }
    bool operator!=(const TellingIterator &other) const { return at != other.at; }
};

} // namespace

bool read(const char *begin, const char *end, KeyTable &keys, ReadResult &result)
{
    ListReader reader(keys, result);
    if (ListReader::Json::sax_parse(begin, end, &reader))
        return true;
    if (result.error.kind == ReadError::RepeatedKey) {
        KeyTable scratch;
        ReadResult again;
        const char *at = begin;
        ListReader locator(scratch, again, begin, &at);
        ListReader::Json::sax_parse(TellingIterator{begin, &at}, TellingIterator{end, nullptr},
                                    &locator);
        result.error.offset = again.error.offset;
    }
    return false;
}

} // namespace ListJson
