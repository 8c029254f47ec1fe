#include "participantlistmodel.h"

#include <QDebug>
#include <algorithm>
#include <charconv>
#include <climits>
#include <nlohmann/json.hpp>

using Value = ParticipantListModel::Value;
using Row = ParticipantListModel::Row;
using Keys = ParticipantListModel::Keys;

namespace {

const char *const roleKeyNames[] = {"name",         "birthDate", "group", "organization",
                                    "gtoUuid",      "sex",       "step",  "pectoralNumber",
                                    "athleticRank", "isGto"};
constexpr int roleCount = int(sizeof(roleKeyNames) / sizeof(roleKeyNames[0]));

// As ECMAScript's JSON.stringify: two-character escapes where they exist, \u00xx for the
// other control characters, every other byte as itself.
void appendQuoted(std::string &out, const std::string &text)
{
    static const char hex[] = "0123456789abcdef";
    out += '"';
    const char *run = text.data();
    const char *const end = run + text.size();
    for (const char *p = run; p != end; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c >= 0x20 && c != '"' && c != '\\')
            continue;
        out.append(run, p);
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
    out.append(run, end);
    out += '"';
}

template <typename Integer> void appendInteger(std::string &out, Integer value)
{
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof(digits), value);
    out.append(digits, result.ptr);
}

void appendValue(std::string &out, const Value &value)
{
    switch (value.type) {
    case Value::Type::String:
        appendQuoted(out, value.text);
        break;
    case Value::Type::Boolean:
        out += value.boolean ? "true" : "false";
        break;
    case Value::Type::Null:
        out += "null";
        break;
    default:
        out += value.text;
    }
}

// Builds rows from the parser's events. Nested arrays and objects are kept as their
// compact text, so nothing here or later recurses however deep a file nests.
class ListReader
{
public:
    using Json = nlohmann::ordered_json;

    explicit ListReader(Keys &keys) : keys(keys) {}

    std::vector<Row> rows;
    qsizetype skipped = 0;
    qsizetype firstSkipped = -1;

    bool null() { return scalar(Value::Type::Null, nullText); }
    bool boolean(bool value)
    {
        return scalar(Value::Type::Boolean, value ? trueText : falseText, value);
    }
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
        return scalar(Value::Type::Number, number);
    }
    bool string(std::string &value) { return scalar(Value::Type::String, value); }
    bool binary(Json::binary_t &) { return false; }

    bool start_object(std::size_t) { return open('{', Value::Type::Object); }
    bool start_array(std::size_t) { return open('[', Value::Type::Array); }
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
    bool parse_error(std::size_t, const std::string &, const nlohmann::detail::exception &)
    {
        return false;
    }

private:
    // Levels: 0 outside the list, 1 in the list, 2 in a row, 3 and more in a row's value.
    bool open(char bracket, Value::Type type)
    {
        if (depth == 0) {
            // Only an array is a list.
            if (bracket != '[')
                return false;
            depth = 1;
            return true;
        }
        ++depth;
        if (depth == 2) {
            if (bracket == '{') {
                rows.emplace_back().reserve(keys.names.size());
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
            Value &stored = slot();
            stored.type = nestedType;
            stored.text = nested;
        }
        return true;
    }

    bool scalar(Value::Type type, const std::string &text, bool boolean = false)
    {
        if (depth == 0)
            return false;
        if (depth == 1) {
            skip();
            return true;
        }
        if (skipping)
            return true;
        if (depth == 2) {
            Value &stored = slot();
            stored.type = type;
            stored.boolean = boolean;
            // Booleans and null are written from the type alone.
            if (type == Value::Type::Boolean || type == Value::Type::Null)
                stored.text.clear();
            else
                stored.text = text;
            return true;
        }
        separate();
        if (type == Value::Type::String)
            appendQuoted(nested, text);
        else
            nested += text;
        needComma = true;
        return true;
    }

    template <typename Integer> bool integer(Integer value)
    {
        number.clear();
        appendInteger(number, value);
        return scalar(Value::Type::Number, number);
    }

    void skip()
    {
        if (firstSkipped < 0)
            firstSkipped = qsizetype(rows.size() + skipped);
        ++skipped;
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

    Value &slot()
    {
        Row &row = rows.back();
        if (row.size() <= std::size_t(currentKey))
            row.resize(std::size_t(currentKey) + 1);
        return row[std::size_t(currentKey)];
    }

    const std::string nullText = "null";
    const std::string trueText = "true";
    const std::string falseText = "false";
    Keys &keys;
    std::size_t depth = 0;
    bool skipping = false;
    int currentKey = -1;
    std::size_t position = 0;
    std::vector<int> hints;
    std::string nested;
    Value::Type nestedType = Value::Type::Array;
    bool needComma = false;
    std::string number;
};

} // namespace

int ParticipantListModel::Keys::intern(const std::string &name)
{
    const auto found = indexOf.find(name);
    if (found != indexOf.end())
        return found->second;
    const int index = int(names.size());
    names.push_back(name);
    std::string prefix;
    appendQuoted(prefix, name);
    prefix += ':';
    prefixes.push_back(std::move(prefix));
    indexOf.emplace(name, index);
    return index;
}

ParticipantListModel::ParticipantListModel(QObject *parent)
    : QAbstractListModel(parent), roleKeys(roleCount, -1)
{
}

ParticipantListModel::~ParticipantListModel() = default;

int ParticipantListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows.size());
}

QVariant ParticipantListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const int key = keyOfRole(role);
    const Row &row = rows[std::size_t(index.row())];
    if (key < 0 || std::size_t(key) >= row.size())
        return QVariant();
    const Value &value = row[std::size_t(key)];
    switch (value.type) {
    case Value::Type::Absent:
        return QVariant();
    case Value::Type::Boolean:
        return value.boolean;
    case Value::Type::Null:
        return QVariant::fromValue(nullptr);
    case Value::Type::Number:
        // As spelled in the file: a double would show 12345678901234567890 with other
        // digits, and an edit started on that cell would write them back.
    default:
        return QString::fromUtf8(value.text.data(), int(value.text.size()));
    }
}

QHash<int, QByteArray> ParticipantListModel::roleNames() const
{
    QHash<int, QByteArray> names;
    for (int i = 0; i < roleCount; ++i)
        names.insert(NameRole + i, roleKeyNames[i]);
    return names;
}

int ParticipantListModel::keyOfRole(int role) const
{
    const int i = role - NameRole;
    return i >= 0 && i < roleCount ? roleKeys[std::size_t(i)] : -1;
}

void ParticipantListModel::updateRoleKeys()
{
    for (int i = 0; i < roleCount; ++i) {
        const auto found = keys.indexOf.find(roleKeyNames[i]);
        roleKeys[std::size_t(i)] = found == keys.indexOf.end() ? -1 : found->second;
    }
}

bool ParticipantListModel::load(const QString &text)
{
    try {
        const QByteArray bytes = text.toUtf8();
        // Keys met by a load that fails must not enter the order, so the reader works on
        // a copy.
        Keys loadedKeys = keys;
        ListReader reader(loadedKeys);
        if (!ListReader::Json::sax_parse(bytes.constData(), bytes.constData() + bytes.size(),
                                         &reader))
            return false;
        if (reader.skipped > 0)
            qWarning("List file: %lld element(s) that are not objects skipped, the first at "
                     "index %lld",
                     static_cast<long long>(reader.skipped),
                     static_cast<long long>(reader.firstSkipped));
        const bool countChanges = reader.rows.size() != rows.size();
        beginResetModel();
        rows.swap(reader.rows);
        keys = std::move(loadedKeys);
        updateRoleKeys();
        endResetModel();
        if (countChanges)
            emit countChanged();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

QString ParticipantListModel::toJson() const
{
    try {
        std::size_t size = 2;
        for (const Row &row : rows) {
            size += 3;
            for (const Value &value : row)
                size += value.text.size() + 24;
        }
        std::string out;
        out.reserve(size);
        out += '[';
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (r > 0)
                out += ',';
            out += '{';
            const Row &row = rows[r];
            bool first = true;
            for (std::size_t k = 0; k < row.size(); ++k) {
                if (row[k].type == Value::Type::Absent)
                    continue;
                if (!first)
                    out += ',';
                first = false;
                out += keys.prefixes[k];
                appendValue(out, row[k]);
            }
            out += '}';
        }
        out += ']';
        if (out.size() > std::size_t(INT_MAX))
            return QString();
        return QString::fromUtf8(out.data(), int(out.size()));
    } catch (const std::exception &) {
        return QString();
    }
}

bool ParticipantListModel::setValue(int row, const QString &key, const QString &text)
{
    if (row < 0 || std::size_t(row) >= rows.size())
        return false;
    int keyIndex = -1;
    try {
        const std::size_t keyCount = keys.names.size();
        keyIndex = keys.intern(key.toStdString());
        if (keys.names.size() != keyCount)
            updateRoleKeys();
        Row &values = rows[std::size_t(row)];
        if (values.size() <= std::size_t(keyIndex))
            values.resize(std::size_t(keyIndex) + 1);
        Value &value = values[std::size_t(keyIndex)];
        value.type = Value::Type::String;
        value.text = text.toStdString();
    } catch (const std::exception &) {
        return false;
    }
    QVector<int> roles;
    const auto role = std::find(roleKeys.begin(), roleKeys.end(), keyIndex);
    if (role != roleKeys.end())
        roles.append(NameRole + int(role - roleKeys.begin()));
    emit dataChanged(index(row), index(row), roles);
    return true;
}

bool ParticipantListModel::remove(int row)
{
    if (row < 0 || std::size_t(row) >= rows.size())
        return false;
    beginRemoveRows(QModelIndex(), row, row);
    rows.erase(rows.begin() + row);
    endRemoveRows();
    emit countChanged();
    return true;
}
