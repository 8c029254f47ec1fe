#pragma once

#include "exporttable.h"

#include <QByteArray>
#include <QDate>
#include <QString>

// A printable list on A4 landscape pages: a title, the date of printing, and the table's
// "№" and data columns grouped by organization under sub-headings, the header row on
// every page, no row split across pages, and "Стр. N из M" at the foot.
namespace PdfExport {

struct Options
{
    QString title;
    QDate printDate;
    bool newPagePerOrganization = false;
};

// The document's bytes into `out`; false when the page painter could not work.
bool write(const ExportTable &table, const Options &options, QByteArray &out);

} // namespace PdfExport
