#pragma once

#include "listrows.h"

#include <QString>
#include <string>
#include <string_view>

namespace ListText {

// The text of a value as the table shows it: strings and numbers as spelled, nothing for
// the other JSON values.
inline const QByteArray *bytesOf(const ListValue *value)
{
    return value && (value->type == ListValue::Type::String ||
                     value->type == ListValue::Type::Number)
               ? &value->text
               : nullptr;
}

// All of the bytes: Qt's own conversion of a byte array stops at a NUL, which a JSON string
// may hold.
inline QString fromUtf8(const QByteArray &text)
{
    return QString::fromUtf8(text.constData(), text.size());
}

inline QString of(const ListValue *value)
{
    const QByteArray *text = bytesOf(value);
    return text ? fromUtf8(*text) : QString();
}

// For finding and comparing as an operator reads: case and "ё"/"е" make no difference.
inline QString folded(const QString &text)
{
    QString out = text.toCaseFolded();
    out.replace(QChar(0x0451), QChar(0x0435));
    return out;
}

// The same for UTF-8 text, appended to `out`, for the Latin and Cyrillic letters a list
// holds: working on the bytes spares a conversion per value, which a list of thousands of
// rows feels at every keystroke.
void appendFolded(std::string &out, std::string_view text);

// Without white space at either end.
std::string trimmed(std::string_view text);

// "1 запись", "3 записи", "5 записей", "21 запись".
QString recordsText(long long count);

} // namespace ListText
