#pragma once

#include "listrows.h"

#include <QString>

namespace ListText {

// The text of a value as the table shows it: strings and numbers as spelled, nothing for
// the other JSON values.
inline QString of(const ListValue *value)
{
    if (!value ||
        (value->type != ListValue::Type::String && value->type != ListValue::Type::Number))
        return QString();
    return QString::fromUtf8(value->text.data(), int(value->text.size()));
}

// For finding and comparing as an operator reads: case and "ё"/"е" make no difference.
inline QString folded(const QString &text)
{
    QString out = text.toCaseFolded();
    out.replace(QChar(0x0451), QChar(0x0435));
    return out;
}

} // namespace ListText
