#pragma once

#include "exporttable.h"

#include <QByteArray>

// A table as an Excel workbook with one sheet "Участники": a bold, frozen header row with
// an autofilter, column widths fitted to the contents, and cells that keep their kind.
namespace XlsxExport {

// The workbook's bytes into `out`; false when it could not be made (no temporary file).
// `replacedCells` counts the cells whose characters XML cannot hold became U+FFFD.
bool write(const ExportTable &table, QByteArray &out, int *replacedCells = nullptr);

} // namespace XlsxExport
