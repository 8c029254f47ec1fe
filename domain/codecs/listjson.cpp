#include "listjson.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cstring>
#include <nlohmann/json.hpp>
#include <type_traits>

namespace ListJson {

namespace {

// The writers fill a std::string or, for a whole list, a QByteArray that goes to a file or
// a digest as it is: a list of many thousands of rows is not copied once more.
void put(std::string &out, const char *begin, const char *end)
{
    out.append(begin, end);
}

void put(QByteArray &out, const char *begin, const char *end)
{
    out.append(begin, int(end - begin));
}

// As ECMAScript's JSON.stringify: two-character escapes where they exist, \u00xx for the
// other control characters, every other byte as itself.
template <typename Out> void quoted(Out &out, std::string_view text)
{
    static const char hex[] = "0123456789abcdef";
    out += '"';
    const char *run = text.data();
    const char *const end = run + text.size();
    for (const char *p = run; p != end; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c >= 0x20 && c != '"' && c != '\\')
            continue;
        put(out, run, p);
        run = p + 1;
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += "\\u00";
            out += hex[c >> 4];
            out += hex[c & 0xF];
        }
    }
    put(out, run, end);
    out += '"';
}

template <typename Out> void value(Out &out, const ListValue &value)
{
    switch (value.type) {
    case ListValue::Type::String:
        quoted(out, viewOf(value.text));
        break;
    case ListValue::Type::Boolean:
        out += value.boolean ? "true" : "false";
        break;
    case ListValue::Type::Null:
        out += "null";
        break;
    default:
        put(out, value.text.constData(), value.text.constData() + value.text.size());
    }
}

} // namespace

void appendQuoted(std::string &out, std::string_view text)
{
    quoted(out, text);
}

void appendValue(std::string &out, const ListValue &listValue)
{
    value(out, listValue);
}

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

    // The row's field for the current key; a key repeated within a row keeps its first
    // place and takes the last value.
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
    // Texts met lately, by a hash of their bytes: a list repeats its organizations, steps
    // and sexes row after row, and each is held once however often it comes. A text met
    // once only takes a slot until another needs it, which costs far less than a set of
    // every text of a large list.
    std::array<QByteArray, 4096> recent;
};

// Each key's name escaped and followed by ':', by key index.
using KeyPrefixes = std::vector<std::string>;

void appendRow(QByteArray &out, const ListRow &row, const KeyPrefixes &prefixes, KeyOrder order)
{
    out += '{';
    const auto appendField = [&out, &prefixes](const ListField &field, bool first) {
        if (!first)
            out += ',';
        const std::string &prefix = prefixes[std::size_t(field.key)];
        put(out, prefix.data(), prefix.data() + prefix.size());
        value(out, field.value);
    };
    const bool sorted = order == KeyOrder::Record ||
                        std::is_sorted(row.begin(), row.end(),
                                       [](const auto &a, const auto &b) { return a.key < b.key; });
    if (sorted) {
        for (std::size_t i = 0; i < row.size(); ++i)
            appendField(row[i], i == 0);
    } else {
        std::vector<const ListField *> fields;
        fields.reserve(row.size());
        for (const ListField &field : row)
            fields.push_back(&field);
        std::sort(fields.begin(), fields.end(),
                  [](const ListField *a, const ListField *b) { return a->key < b->key; });
        for (std::size_t i = 0; i < fields.size(); ++i)
            appendField(*fields[i], i == 0);
    }
    out += '}';
}

} // namespace

bool read(const char *begin, const char *end, KeyTable &keys, ReadResult &result)
{
    ListReader reader(keys, result);
    return ListReader::Json::sax_parse(begin, end, &reader);
}

QByteArray write(const std::vector<ListRow> &rows, const KeyTable &keys, KeyOrder order)
{
    KeyPrefixes prefixes(keys.names.size());
    for (std::size_t key = 0; key < prefixes.size(); ++key) {
        appendQuoted(prefixes[key], keys.names[key]);
        prefixes[key] += ':';
    }
    std::size_t size = 2;
    for (const ListRow &row : rows) {
        size += 3;
        for (const ListField &field : row)
            size += field.value.text.size() + prefixes[std::size_t(field.key)].size() + 8;
    }
    QByteArray out;
    out.reserve(int(std::min<std::size_t>(size, std::size_t(INT_MAX))));
    out += '[';
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (r > 0)
            out += ',';
        appendRow(out, rows[r], prefixes, order);
    }
    out += ']';
    return out;
}

std::string write(const ParticipantRecord &record)
{
    std::string out = "{";
    for (std::size_t i = 0; i < record.fields.size(); ++i) {
        if (i > 0)
            out += ',';
        appendQuoted(out, record.fields[i].first);
        out += ':';
        appendValue(out, record.fields[i].second);
    }
    out += '}';
    return out;
}

} // namespace ListJson
