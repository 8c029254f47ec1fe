#include "csvexport.h"

#include "celltext.h"

namespace CsvExport {

namespace {

void appendCell(QByteArray &out, QString text, bool isText)
{
    // Half a surrogate pair would become "?" in UTF-8; U+FFFD shows that something was.
    CellText::replaceLoneSurrogates(text);
    const QByteArray bytes = text.toUtf8();
    const bool quoted =
        bytes.contains(';') || bytes.contains('"') || bytes.contains('\n') || bytes.contains('\r');
    if (quoted)
        out += '"';
    // A spreadsheet runs a text that starts like a formula, whatever invisible characters
    // come first; the apostrophe keeps it text, and the import takes exactly one away.
    if (isText && CellText::needsApostrophe(text))
        out += '\'';
    if (!quoted) {
        out += bytes;
        return;
    }
    for (const char c : bytes) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

} // namespace

QByteArray write(const ExportTable &table)
{
    QByteArray out("\xEF\xBB\xBF");
    for (int c = 0; c < table.titles.size(); ++c) {
        if (c > 0)
            out += ';';
        appendCell(out, table.titles.at(c), true);
    }
    out += "\r\n";
    for (const ExportRowCells &row : table.rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0)
                out += ';';
            appendCell(out, row[c].text, row[c].type == ExportCell::Type::Text);
        }
        out += "\r\n";
    }
    return out;
}

} // namespace CsvExport
