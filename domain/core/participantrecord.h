#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// One value of a record as a list file holds it. Strings keep their own text, every other
// JSON value keeps its JSON text (numbers as spelled in the file), so a list written back
// holds what was read, whatever other tools put into it.
struct ListValue
{
    enum class Type : unsigned char { String, Number, Boolean, Null, Array, Object };

    // UTF-8: a string's own text, or the JSON text of a number, array or object. Shared, so
    // that the many equal texts of a list (organizations, steps, sexes) are held once.
    QByteArray text;
    Type type = Type::String;
    bool boolean = false;

    static ListValue string(QByteArray text)
    {
        ListValue value;
        value.text = std::move(text);
        return value;
    }
    static ListValue string(const QString &text) { return string(text.toUtf8()); }
    static ListValue string(std::string_view text)
    {
        return string(QByteArray(text.data(), int(text.size())));
    }
    static ListValue fromBool(bool flag)
    {
        ListValue value;
        value.type = Type::Boolean;
        value.boolean = flag;
        return value;
    }
    bool operator==(const ListValue &other) const
    {
        return type == other.type && boolean == other.boolean && text == other.text;
    }
    bool operator!=(const ListValue &other) const { return !(*this == other); }
};

// A participant record with its keys in the record's own order.
struct ParticipantRecord
{
    std::vector<std::pair<std::string, ListValue>> fields;

    // The value under `key`, or null when the record has no such key.
    const ListValue *value(const std::string &key) const
    {
        for (const auto &field : fields) {
            if (field.first == key)
                return &field.second;
        }
        return nullptr;
    }
    // Replaces the value in its place, or appends the key.
    void set(const std::string &key, ListValue value)
    {
        for (auto &field : fields) {
            if (field.first == key) {
                field.second = std::move(value);
                return;
            }
        }
        fields.emplace_back(key, std::move(value));
    }
    bool operator==(const ParticipantRecord &other) const { return fields == other.fields; }
};

// A value's text as the standard library reads it, without a copy.
inline std::string_view viewOf(const QByteArray &text)
{
    return std::string_view(text.constData(), std::size_t(text.size()));
}

Q_DECLARE_METATYPE(ParticipantRecord)
