#pragma once

#include "listrows.h"

#include <QString>
#include <string>

namespace ListText {

// The text of a value as the table shows it: strings and numbers as spelled, nothing for
// the other JSON values.
inline const std::string *bytesOf(const ListValue *value)
{
    return value && (value->type == ListValue::Type::String ||
                     value->type == ListValue::Type::Number)
               ? &value->text
               : nullptr;
}

inline QString of(const ListValue *value)
{
    const std::string *text = bytesOf(value);
    return text ? QString::fromUtf8(text->data(), int(text->size())) : QString();
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
void appendFolded(std::string &out, const std::string &text);

// Without white space at either end.
std::string trimmed(const std::string &text);

} // namespace ListText
