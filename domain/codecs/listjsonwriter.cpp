#include "listjson.h"

#include <algorithm>
#include <climits>

// The writers of the list file's JSON text.
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
