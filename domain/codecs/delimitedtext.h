#pragma once

#include "sourcetable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Tables as delimited text: CSV and TXT files, and rows copied from a spreadsheet.
namespace DelimitedText {

// The encodings a file may be read in, as the preview names them.
QStringList encodings();

// The text of a file in `encoding`, or when that is empty: UTF-8 with or without a
// byte-order mark, UTF-16 by its mark, else the Cyrillic single-byte encoding whose
// letters read most like Russian. `used` names the one taken. False for bytes that are no
// text, which a file with a byte-order mark never is, and when `control` cancels.
bool decode(const QByteArray &bytes, QString &text, const QString &encoding = QString(),
            QString *used = nullptr, ReadControl *control = nullptr);

// The separator that splits the first rows most evenly: ';', ',' or a tab. A text of one
// column gives ';', which splits nothing there.
QChar detectSeparator(const QString &text);

// RFC 4180: quoted fields may hold separators, doubled quotes and line breaks; every kind
// of line end ends a row. False with a reason when the text holds more than the readers
// take.
bool parse(const QString &text, QChar separator, SourceTable &table, QString &reason,
           ReadControl *control = nullptr);

// A whole file's bytes, the separator detected; `encoding` as for decode(). The bytes
// are let go once decoded.
bool read(QByteArray bytes, SourceTable &table, QString &reason,
          const QString &encoding = QString(), ReadControl *control = nullptr);

} // namespace DelimitedText
