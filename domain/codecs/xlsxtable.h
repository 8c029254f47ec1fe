#pragma once

#include "sourcetable.h"

#include <QString>

// The first sheet of an Office Open XML workbook (.xlsx).
namespace XlsxTable {

// Reads shared and inline strings, numbers, booleans and cached formula results; a number
// whose cell style is a date becomes dd.MM.yyyy. Merged cells hold their first cell's
// value throughout, a million cells at most in all. False with a reason for a damaged,
// encrypted or oversized workbook, and for XML that declares a document type, which could
// expand entities or fetch them.
// `control` sees the progress and may cancel the reading.
bool read(const QString &path, SourceTable &table, QString &reason, ReadControl *control = nullptr);

} // namespace XlsxTable
