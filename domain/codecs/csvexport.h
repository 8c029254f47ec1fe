#pragma once

#include "exporttable.h"

#include <QByteArray>

// A table as CSV that a spreadsheet set to a Russian locale opens by double-click: UTF-8
// with a byte-order mark, ";" between cells, CR LF after every line, RFC 4180 quoting.
namespace CsvExport {

QByteArray write(const ExportTable &table);

} // namespace CsvExport
