#pragma once

#include "sourcetable.h"

#include <QByteArray>
#include <QString>

// Tables as delimited text: CSV and TXT files, and rows copied from a spreadsheet.
namespace DelimitedText {

// The text of a file: UTF-8 with or without a byte-order mark, UTF-16 with one, and
// Windows-1251 when the bytes are not UTF-8. False for bytes that are no text.
bool decode(const QByteArray &bytes, QString &text);

// The separator that splits the first rows most evenly: ';', ',' or a tab. A text of one
// column gives ';', which splits nothing there.
QChar detectSeparator(const QString &text);

// RFC 4180: quoted fields may hold separators, doubled quotes and line breaks; every kind
// of line end ends a row. False with a reason when the text holds more than the readers
// take.
bool parse(const QString &text, QChar separator, SourceTable &table, QString &reason);

// A whole file's bytes, the separator detected.
bool read(const QByteArray &bytes, SourceTable &table, QString &reason);

} // namespace DelimitedText
