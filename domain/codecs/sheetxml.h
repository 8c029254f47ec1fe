#pragma once

#include <QString>
#include <QStringRef>

class QXmlStreamReader;

// The small pieces of a workbook's XML that the sheet reader builds on.
namespace SheetXml {

constexpr int MaxSheetRows = 1048576;
constexpr int MaxSheetColumns = 16384;
// A sheet nests a handful of elements deep; the XML reader keeps every open one.
constexpr int MaxDepth = 64;

// "AB12" as a zero-based row and column, within a sheet's extent.
bool cellPosition(const QStringRef &ref, int &row, int &column);
// A row's number as a zero-based row, within a sheet's extent.
bool rowNumber(const QStringRef &text, int &row);
// "A1:C3" as its corners, the first above and left of the second.
bool cellRange(const QStringRef &ref, int &row1, int &column1, int &row2, int &column2);
// Built-in date formats, and custom ones that show a day or a year.
bool isDateFormat(int id, const QString &code);
// As QXmlStreamReader::skipCurrentElement(), with an error for elements nested past
// MaxDepth, as the reader keeps every open one.
void skipElement(QXmlStreamReader &xml);
// Text of a shared or inline string: plain, or the runs of rich text without their
// phonetic guides. Characters XML cannot hold come as _xHHHH_.
QString richText(QXmlStreamReader &xml);

} // namespace SheetXml
