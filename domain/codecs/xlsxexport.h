#pragma once

#include "exporttable.h"

#include <QByteArray>

// A table as an Excel workbook with one sheet "Участники": a bold, frozen header row with
// an autofilter, column widths fitted to the contents, and cells that keep their kind.
namespace XlsxExport {

// The workbook's bytes into `out`; false when it could not be made (no temporary file,
// a text longer than a cell holds).
bool write(const ExportTable &table, QByteArray &out);

} // namespace XlsxExport
