#include "tableproperties.h"

#include "codecs/celltext.h"
#include "codecs/csvexport.h"
#include "codecs/delimitedtext.h"
#include "codecs/xlsxexport.h"
#include "codecs/xlsxtable.h"
#include "listimport.h"
#include "participantlistmodel.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <zip.h>

namespace {

using Rows = std::vector<std::vector<QString>>;

std::string utf8(const QString &text)
{
    return text.toStdString();
}

// One scratch folder for the whole run: a fuzzer calls the checks millions of times.
QString scratch(const char *name)
{
    static QTemporaryDir dir;
    return dir.filePath(QString::fromLatin1(name));
}

std::string checkLimits(const SourceTable &table)
{
    long long cells = 0;
    int widest = 0;
    for (const SourceRow &row : table.rows) {
        cells += qint64(row.cells.size());
        widest = std::max(widest, int(row.cells.size()));
        for (const SourceCell &cell : row.cells) {
            if (cell.text.size() > CellText::MaxLength)
                return "a cell longer than a sheet cell holds";
        }
    }
    if (widest > SourceLimits::MaxColumns || cells > SourceLimits::MaxCells)
        return "a table beyond the limits";
    if (widest != table.columnCount)
        return "the column count is not the widest row's";
    return {};
}

Rows textsOf(const SourceTable &table)
{
    Rows rows;
    for (const SourceRow &row : table.rows) {
        rows.emplace_back();
        for (const SourceCell &cell : row.cells)
            rows.back().push_back(cell.text);
    }
    return rows;
}

std::size_t widthOf(const Rows &rows)
{
    std::size_t width = 1;
    for (const auto &row : rows)
        width = std::max(width, row.size());
    return width;
}

// As the table export makes them: a title over every column, every row as wide.
ExportTable exportOf(const Rows &rows)
{
    ExportTable table;
    for (std::size_t c = 0; c < widthOf(rows); ++c)
        table.titles << QStringLiteral("Столбец %1").arg(c + 1);
    for (const auto &row : rows) {
        table.rows.emplace_back(std::size_t(table.titles.size()));
        for (std::size_t c = 0; c < row.size(); ++c) {
            table.rows.back()[c].type = ExportCell::Type::Text;
            table.rows.back()[c].text = row[c];
        }
    }
    return table;
}

// RFC 4180 with ";" between fields and CR LF between records, as UTF-8 after a mark.
bool readRfc4180(const QByteArray &bytes, std::vector<std::vector<QByteArray>> &records)
{
    if (!bytes.startsWith("\xEF\xBB\xBF"))
        return false;
    std::vector<QByteArray> fields(1);
    for (int i = 3; i < bytes.size();) {
        QByteArray &field = fields.back();
        if (bytes[i] == '"' && field.isEmpty()) {
            for (++i;; ++i) {
                if (i >= bytes.size())
                    return false;
                if (bytes[i] == '"') {
                    if (i + 1 < bytes.size() && bytes[i + 1] == '"')
                        ++i;
                    else
                        break;
                }
                field += bytes[i];
            }
            ++i;
            if (i < bytes.size() && bytes[i] != ';' && bytes[i] != '\r')
                return false;
        } else if (bytes[i] == ';') {
            fields.emplace_back();
            ++i;
        } else if (bytes[i] == '\r') {
            if (i + 1 >= bytes.size() || bytes[i + 1] != '\n')
                return false;
            records.push_back(std::move(fields));
            fields.assign(1, QByteArray());
            i += 2;
        } else if (bytes[i] == '"' || bytes[i] == '\n') {
            return false;
        } else {
            field += bytes[i++];
        }
    }
    return fields.size() == 1 && fields[0].isEmpty();
}

// The readers drop blank cells at the end of a row; in CSV not one written with an
// apostrophe (a tab alone), which is no blank there.
std::vector<QString> withoutTrailingBlanks(std::vector<QString> row, bool csv)
{
    while (!row.empty() && row.back().trimmed().isEmpty() &&
           !(csv && CellText::needsApostrophe(row.back())))
        row.pop_back();
    return row;
}

std::string checkCsvExport(const Rows &rows)
{
    const QByteArray bytes = CsvExport::write(exportOf(rows));
    std::vector<std::vector<QByteArray>> records;
    if (!readRfc4180(bytes, records) || records.size() != rows.size() + 1)
        return "the CSV export is not RFC 4180 with one record a row";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto &record = records[r + 1];
        if (record.size() != widthOf(rows))
            return "a CSV record has another number of fields";
        for (std::size_t c = 0; c < record.size(); ++c) {
            QString text = c < rows[r].size() ? rows[r][c] : QString();
            CellText::replaceLoneSurrogates(text);
            const QString written =
                CellText::needsApostrophe(text) ? QLatin1Char('\'') + text : text;
            if (record[c] != written.toUtf8())
                return "a CSV field is not the cell as written: " + utf8(text);
        }
    }
    // Our own reader, as the import reads our export.
    QString decoded;
    SourceTable table;
    QString reason;
    if (!DelimitedText::decode(bytes, decoded) ||
        !DelimitedText::parse(decoded, QLatin1Char(';'), table, reason))
        return "our reader refuses our CSV export: " + utf8(reason);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::vector<QString> expected = withoutTrailingBlanks(rows[r], true);
        for (QString &text : expected) {
            CellText::replaceLoneSurrogates(text);
            text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        }
        std::vector<QString> read;
        if (r + 1 < table.rows.size()) {
            for (const SourceCell &cell : table.rows[r + 1].cells)
                read.push_back(CellText::withoutApostrophe(cell.text));
        }
        if (read != expected)
            return "a CSV row reads back otherwise";
    }
    return {};
}

std::string checkXlsxExport(const Rows &rows)
{
    QByteArray bytes;
    if (!XlsxExport::write(exportOf(rows), bytes))
        return "the workbook export failed";
    const QString path = scratch("export.xlsx");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return {};
    file.close();
    SourceTable table;
    QString reason;
    if (!XlsxTable::read(path, table, reason))
        return "our reader refuses our workbook: " + utf8(reason);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::vector<QString> expected = rows[r];
        for (QString &text : expected) {
            CellText::replaceNonXml(text);
            CellText::cap(text);
        }
        expected = withoutTrailingBlanks(expected, false);
        std::vector<QString> read;
        if (r + 1 < table.rows.size()) {
            for (const SourceCell &cell : table.rows[r + 1].cells)
                read.push_back(cell.text);
        }
        if (read != expected)
            return "a workbook row reads back otherwise";
    }
    return {};
}

// A workbook's texts go back into a workbook too; a text file's, which the export target
// covers as well, only into CSV, which keeps that fuzzer fast.
std::string checkReadTable(bool ok, const SourceTable &table, bool asWorkbook)
{
    if (!ok)
        return {};
    std::string failure = checkLimits(table);
    if (failure.empty())
        failure = checkCsvExport(textsOf(table));
    if (failure.empty() && asWorkbook)
        failure = checkXlsxExport(textsOf(table));
    return failure;
}

std::string checkWorkbookFile(const QString &path)
{
    SourceTable table;
    QString reason;
    const bool ok = XlsxTable::read(path, table, reason);
    if (!ok && reason.isEmpty())
        return "a refusal without a reason";
    return checkReadTable(ok, table, true);
}

} // namespace

std::string checkCsvProperties(const char *data, std::size_t size)
{
    SourceTable table;
    QString reason;
    const bool ok = DelimitedText::read(QByteArray(data, int(size)), table, reason);
    if (!ok && reason.isEmpty())
        return "a refusal without a reason";
    return checkReadTable(ok, table, false);
}

std::string checkPasteProperties(const char *data, std::size_t size)
{
    const QString text = QString::fromUtf8(data, int(size));
    SourceTable table;
    QString reason;
    const bool parsed = DelimitedText::parse(text, QLatin1Char('\t'), table, reason);
    std::string failure = parsed ? checkLimits(table) : std::string();
    if (!failure.empty())
        return failure;
    ListImport import;
    if (!import.openText(text))
        return parsed && !table.rows.empty() && import.failure().isEmpty()
                   ? "a refusal without a reason"
                   : std::string();
    ParticipantListModel model;
    if (!import.addTo(&model))
        return "an open import did not add";
    const QString saved = model.toJson();
    ParticipantListModel again;
    if (!again.load(saved) || again.toJson() != saved)
        return "an imported list saved and loaded saves otherwise";
    return {};
}

std::string checkXlsxProperties(const char *data, std::size_t size)
{
    const QString path = scratch("input.xlsx");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(data, qint64(size)) != qint64(size))
        return {};
    file.close();
    return checkWorkbookFile(path);
}

std::string checkSheetXmlProperties(const char *data, std::size_t size)
{
    const QList<QByteArray> parts = QByteArray(data, int(size)).split('\n');
    QByteArray entries[3];
    int part = 0;
    for (const QByteArray &line : parts) {
        if (line == "#####" && part < 2) {
            ++part;
            continue;
        }
        entries[part] += line + '\n';
    }
    const QByteArray fixed[][2] = {
        {"[Content_Types].xml",
         "<?xml version=\"1.0\"?><Types "
         "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"},
        {"xl/workbook.xml",
         "<?xml version=\"1.0\"?><workbook "
         "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
         "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
         "<sheets><sheet name=\"A\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>"},
        {"xl/_rels/workbook.xml.rels",
         "<?xml version=\"1.0\"?><Relationships "
         "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
         "<Relationship Id=\"rId1\" Target=\"worksheets/sheet1.xml\"/></Relationships>"},
        {"xl/worksheets/sheet1.xml", entries[0]},
        {"xl/sharedStrings.xml", entries[1]},
        {"xl/styles.xml", entries[2]},
    };
    const QString path = scratch("parts.xlsx");
    const QByteArray name = QFile::encodeName(path);
    zip_t *archive = zip_open(name.constData(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
    if (!archive)
        return {};
    for (const auto &entry : fixed) {
        zip_source_t *source =
            zip_source_buffer(archive, entry[1].constData(), zip_uint64_t(entry[1].size()), 0);
        const zip_int64_t index =
            source ? zip_file_add(archive, entry[0].constData(), source, ZIP_FL_OVERWRITE) : -1;
        if (index < 0) {
            zip_source_free(source);
            zip_discard(archive);
            return {};
        }
        // Stored, not deflated: the reader's XML is what this target reaches for, and
        // compressing six parts per input would cost most of its time.
        zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_STORE, 0);
    }
    if (zip_close(archive) != 0) {
        zip_discard(archive);
        return {};
    }
    return checkWorkbookFile(path);
}

std::string checkExportProperties(const char *data, std::size_t size)
{
    const QString text(reinterpret_cast<const QChar *>(data), int(size / 2));
    Rows rows(1);
    QString cell;
    // No list has more columns than an import takes, so neither has an export's row.
    const auto endCell = [&rows, &cell] {
        if (rows.back().size() < std::size_t(SourceLimits::MaxColumns))
            rows.back().push_back(cell);
        cell.clear();
    };
    for (const QChar c : text) {
        if (c.unicode() == 0xE000 || c.unicode() == 0xE001) {
            endCell();
            if (c.unicode() == 0xE001)
                rows.emplace_back();
        } else {
            cell += c;
        }
    }
    endCell();
    std::string failure = checkCsvExport(rows);
    if (failure.empty())
        failure = checkXlsxExport(rows);
    return failure;
}
