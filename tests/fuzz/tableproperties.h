#pragma once

#include <cstddef>
#include <string>

// What must hold for any input to the table readers and the exports. Each gives an empty
// string when all of it holds, else what did not.
//
// For every table a reader gives: at most 256 columns and 1,000,000 cells, no cell longer
// than a sheet cell holds, and the column count is the widest row's. Its cells, exported
// as CSV, read back by a small RFC 4180 reader as written (an apostrophe before a text that
// needs one) and by our own reader as they were (CR LF inside a cell as LF); a workbook's
// cells, exported as a workbook, open and hold the same texts (characters XML cannot hold
// as U+FFFD).

// Bytes as a CSV or TXT file.
std::string checkCsvProperties(const char *data, std::size_t size);
// UTF-8 as rows pasted from a spreadsheet; an import of them, saved as a list and loaded
// again, saves the same list.
std::string checkPasteProperties(const char *data, std::size_t size);
// Bytes as a workbook file.
std::string checkXlsxProperties(const char *data, std::size_t size);
// The sheet, its shared strings and its styles, in that order between lines "#####",
// zipped with a fixed workbook around them, so that mutations reach the XML reading.
std::string checkSheetXmlProperties(const char *data, std::size_t size);
// UTF-16 code units of any value, U+E000 between cells and U+E001 between rows, as a
// table for both exports.
std::string checkExportProperties(const char *data, std::size_t size);
