#pragma once

#include "listjson.h"

#include <QByteArray>
#include <QString>

// A list file's bytes on their way to the reader, and the operator's reason when they
// are no list: one line of Russian text.
namespace ListFile {

// The file's bytes up to its first NUL byte, as FileIO.readAll reads them, without a
// leading byte order mark. False, with the reason, for a file that cannot be read or is
// empty.
bool read(const QString &path, QByteArray &bytes, QString &reason);

// Cuts `bytes` at their first NUL byte and drops a leading byte order mark.
void trim(QByteArray &bytes);

// The offset of the first byte in [begin, end) that is not part of well-formed UTF-8,
// or -1.
long long invalidUtf8At(const char *begin, const char *end);

// The reason for text that is not UTF-8, the bad byte at `offset`.
QString notUtf8Reason(const char *begin, const char *end, long long offset);
// The reason for the reader's failure on [begin, end).
QString readErrorReason(const char *begin, const char *end, const ListJson::ReadError &error);
QString outOfMemoryReason();

// The number of records when `bytes` are a participant list, a JSON array of objects; -1
// for anything else.
long long recordCount(const QByteArray &bytes);

} // namespace ListFile
