#include "xlsxtable.h"

#include "celltext.h"
#include "participantrules.h"
#include "sheetxml.h"
#include "ziparchive.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QXmlStreamReader>
#include <algorithm>

namespace XlsxTable {

namespace {

using namespace SheetXml;

const QString damagedText = QStringLiteral("файл повреждён");
const QString encryptedText = QStringLiteral("файл зашифрован");
// A merge spans two cells at least, so more than this fills the cell cap whatever they hold.
constexpr int MaxMerges = int(SourceLimits::MaxCells / 2);

class Reader
{
public:
    Reader(const QString &path, ReadControl *control) : path(path), zip(path), control(control) {}
    bool run(SourceTable &result);
    QString reason;

private:
    struct SharedCell
    {
        int row, column, index;
    };

    bool fail(const QString &text)
    {
        if (reason.isEmpty())
            reason = text;
        return false;
    }
    bool archiveOk();
    // `from` and `to`: the stretch of the whole reading's progress this entry takes.
    template <typename OnStart>
    bool parse(const QString &entry, OnStart &&onStart, int from = 0, int to = 0);
    bool grow(int rows, int columns);
    SourceCell &cell(int row, int column);
    bool readCell(QXmlStreamReader &xml, int row, int column);
    bool readSheet(const QString &entry);
    bool applyMerges();

    QString path;
    ZipArchive zip;
    ReadControl *control;
    bool from1904 = false;
    std::vector<bool> dateStyles;
    std::vector<SharedCell> sharedCells;
    std::vector<QString> sharedStrings;
    QStringList mergeRefs;
    SourceTable table;
    int rowExtent = 0;
    int columnExtent = 0;
};

bool Reader::archiveOk()
{
    switch (zip.status()) {
    case ZipArchive::Ok:
        return true;
    case ZipArchive::Unreadable:
        return fail(SourceLimits::unreadableText());
    case ZipArchive::Damaged:
        return fail(damagedText);
    case ZipArchive::Encrypted:
        return fail(encryptedText);
    case ZipArchive::TooLarge:
        return fail(QStringLiteral("распаковка больше 200 МБ"));
    case ZipArchive::NotZip:
        break;
    }
    // A workbook with a password is a compound document that holds the encrypted package.
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) &&
        file.read(8) == QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) {
        const QByteArray marker =
            QByteArray::fromRawData("E\0n\0c\0r\0y\0p\0t\0i\0o\0n\0I\0n\0f\0o", 27);
        while (!file.atEnd()) {
            if (file.read(1 << 20).contains(marker))
                return fail(encryptedText);
        }
        return fail(QStringLiteral("старый формат .xls"));
    }
    return fail(SourceLimits::notTableText());
}

// Streams one entry of the archive to `onStart`, called at each start element.
template <typename OnStart>
bool Reader::parse(const QString &entry, OnStart &&onStart, int from, int to)
{
    if (!zip.contains(entry))
        return fail(SourceLimits::notTableText());
    const std::unique_ptr<ZipEntry> device = zip.open(entry);
    if (!device)
        return fail(damagedText);
    // Ten bytes at most spell a character ("&#1114111;"): the text a cell is cut to stays.
    device->limitTextRuns(qint64(CellText::MaxLength + 1) * 10);
    device->setControl(control);
    QXmlStreamReader xml(device.get());
    int depth = 0;
    // An entry that breaks off leaves the reader waiting for more data: stop at any error.
    while (!xml.atEnd() && !xml.hasError()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (control) {
            if (control->stopped())
                return fail(SourceLimits::cancelledText());
            if (to > from)
                control->report(device->unpackedSize(), device->statedSize(), from, to);
        }
        // A document type comes before the first element, so nothing has been expanded yet.
        if (token == QXmlStreamReader::DTD)
            return fail(QStringLiteral("недопустимый XML (DTD)"));
        if (token == QXmlStreamReader::EndElement)
            --depth;
        if (token != QXmlStreamReader::StartElement)
            continue;
        if (++depth > MaxDepth)
            return fail(damagedText);
        if (!onStart(xml))
            return false;
        // A start that read its element through leaves the reader at the element's end.
        if (xml.isEndElement())
            --depth;
    }
    if (control && control->stopped())
        return fail(SourceLimits::cancelledText());
    if (device->failed() || xml.hasError())
        return fail(damagedText);
    return true;
}

bool Reader::grow(int rows, int columns)
{
    rows = std::max(rows, rowExtent);
    columns = std::max(columns, columnExtent);
    if (qint64(rows) * columns > SourceLimits::MaxCells)
        return fail(SourceLimits::tooManyCellsText());
    rowExtent = rows;
    columnExtent = columns;
    if (table.rows.size() < std::size_t(rows))
        table.rows.resize(std::size_t(rows));
    return true;
}

SourceCell &Reader::cell(int row, int column)
{
    std::vector<SourceCell> &cells = table.rows[std::size_t(row)].cells;
    if (cells.size() <= std::size_t(column))
        cells.resize(std::size_t(column) + 1);
    return cells[std::size_t(column)];
}

bool Reader::readCell(QXmlStreamReader &xml, int row, int column)
{
    const QStringRef type = xml.attributes().value(QLatin1String("t"));
    const int style = xml.attributes().value(QLatin1String("s")).toInt();
    QString value;
    bool hasValue = false;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("v")) {
            value = xml.readElementText();
            hasValue = true;
        } else if (xml.name() == QLatin1String("is")) {
            value = richText(xml);
            hasValue = true;
        } else {
            skipElement(xml);
        }
    }
    if (xml.hasError())
        return fail(damagedText);
    if (!hasValue || value.isEmpty())
        return true;
    if (!grow(row + 1, column + 1))
        return false;
    SourceCell &target = cell(row, column);
    if (type == QLatin1String("s")) {
        bool ok = false;
        const int index = value.toInt(&ok);
        if (!ok || index < 0)
            return fail(damagedText);
        sharedCells.push_back({row, column, index});
    } else if (type == QLatin1String("b")) {
        target.text =
            value == QLatin1String("1") ? QStringLiteral("ИСТИНА") : QStringLiteral("ЛОЖЬ");
    } else if (type == QLatin1String("d")) {
        const QDate date = QDateTime::fromString(value, Qt::ISODate).date();
        target.text = date.isValid() ? ParticipantRules::dateText(date) : value;
        target.kind = date.isValid() ? SourceCell::Kind::Date : SourceCell::Kind::Text;
    } else if (type.isEmpty() || type == QLatin1String("n")) {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok)
            return fail(damagedText);
        const QDate date =
            style >= 0 && std::size_t(style) < dateStyles.size() && dateStyles[std::size_t(style)]
                ? ParticipantRules::dateFromSerial(number, from1904)
                : QDate();
        target.text =
            date.isValid() ? ParticipantRules::dateText(date) : QString::number(number, 'g', 15);
        target.kind = date.isValid() ? SourceCell::Kind::Date : SourceCell::Kind::Number;
    } else {
        target.text = value;
    }
    if (CellText::cap(target.text))
        table.cutCells.emplace_back(row, column);
    return true;
}

bool Reader::readSheet(const QString &entry)
{
    int row = -1;
    int column = -1;
    return parse(
        entry,
        [&](QXmlStreamReader &xml) {
            const QStringRef name = xml.name();
            if (name == QLatin1String("dimension")) {
                // The stated extent refuses a huge sheet before its cells are unpacked.
                int r1 = 0, c1 = 0, r2 = 0, c2 = 0;
                if (cellRange(xml.attributes().value(QLatin1String("ref")), r1, c1, r2, c2) &&
                    qint64(r2 - r1 + 1) * (c2 - c1 + 1) > SourceLimits::MaxCells)
                    return fail(SourceLimits::tooManyCellsText());
            } else if (name == QLatin1String("row")) {
                const QStringRef number = xml.attributes().value(QLatin1String("r"));
                if (number.isEmpty())
                    ++row;
                else if (!rowNumber(number, row))
                    return fail(damagedText);
                column = -1;
                if (row < 0 || row >= MaxSheetRows)
                    return fail(damagedText);
            } else if (name == QLatin1String("c")) {
                const QStringRef ref = xml.attributes().value(QLatin1String("r"));
                int refRow = row;
                if (ref.isEmpty() && column + 1 < MaxSheetColumns)
                    ++column;
                else if (ref.isEmpty())
                    return fail(damagedText);
                else if (!cellPosition(ref, refRow, column))
                    return fail(damagedText);
                if (refRow < 0 || column >= MaxSheetColumns)
                    return fail(damagedText);
                return readCell(xml, refRow, column);
            } else if (name == QLatin1String("mergeCell")) {
                if (mergeRefs.size() >= MaxMerges)
                    return fail(SourceLimits::tooManyCellsText());
                mergeRefs.append(xml.attributes().value(QLatin1String("ref")).toString());
            }
            return true;
        },
        0, 800);
}

bool Reader::applyMerges()
{
    // Each merge fits the sheet's cap, yet thousands of them over the same cells would fill
    // the cap thousands of times over.
    qint64 filled = 0;
    for (const QString &ref : mergeRefs) {
        int r1 = 0, c1 = 0, r2 = 0, c2 = 0;
        if (!cellRange(QStringRef(&ref), r1, c1, r2, c2))
            return fail(damagedText);
        if (std::size_t(r1) >= table.rows.size() ||
            table.rows[std::size_t(r1)].cells.size() <= std::size_t(c1))
            continue;
        const SourceCell first = table.rows[std::size_t(r1)].cells[std::size_t(c1)];
        if (first.text.isEmpty())
            continue;
        filled += qint64(r2 - r1 + 1) * (c2 - c1 + 1);
        if (filled > SourceLimits::MaxCells)
            return fail(SourceLimits::tooManyCellsText());
        if (!grow(r2 + 1, c2 + 1))
            return false;
        for (int r = r1; r <= r2; ++r) {
            for (int c = c1; c <= c2; ++c)
                cell(r, c) = first;
        }
    }
    return true;
}

bool Reader::run(SourceTable &result)
{
    if (!archiveOk())
        return false;
    QString relationId;
    bool ok = parse(QStringLiteral("xl/workbook.xml"), [&](QXmlStreamReader &xml) {
        if (xml.name() == QLatin1String("workbookPr")) {
            const QStringRef flag = xml.attributes().value(QLatin1String("date1904"));
            from1904 = flag == QLatin1String("1") || flag == QLatin1String("true");
        } else if (xml.name() == QLatin1String("sheet") && relationId.isEmpty()) {
            for (const QXmlStreamAttribute &attribute : xml.attributes()) {
                if (attribute.name() == QLatin1String("id") &&
                    attribute.namespaceUri().endsWith(QLatin1String("/relationships")))
                    relationId = attribute.value().toString();
            }
        }
        return true;
    });
    if (!ok)
        return false;
    QString sheet;
    ok = parse(QStringLiteral("xl/_rels/workbook.xml.rels"), [&](QXmlStreamReader &xml) {
        if (xml.name() == QLatin1String("Relationship") &&
            xml.attributes().value(QLatin1String("Id")) == relationId)
            sheet = xml.attributes().value(QLatin1String("Target")).toString();
        return true;
    });
    if (!ok)
        return false;
    if (relationId.isEmpty() || sheet.isEmpty())
        return fail(SourceLimits::notTableText());
    sheet = sheet.startsWith(QLatin1Char('/')) ? sheet.mid(1)
                                               : QDir::cleanPath(QStringLiteral("xl/") + sheet);

    // Which cell styles show a date.
    QHash<int, QString> formats;
    ok = zip.contains(QStringLiteral("xl/styles.xml"))
             ? parse(QStringLiteral("xl/styles.xml"),
                     [&](QXmlStreamReader &xml) {
                         if (xml.name() == QLatin1String("numFmt")) {
                             formats.insert(
                                 xml.attributes().value(QLatin1String("numFmtId")).toInt(),
                                 xml.attributes().value(QLatin1String("formatCode")).toString());
                         } else if (xml.name() == QLatin1String("cellXfs")) {
                             while (xml.readNextStartElement()) {
                                 if (xml.name() == QLatin1String("xf")) {
                                     const int id =
                                         xml.attributes().value(QLatin1String("numFmtId")).toInt();
                                     dateStyles.push_back(isDateFormat(id, formats.value(id)));
                                 }
                                 skipElement(xml);
                             }
                         }
                         return true;
                     })
             : true;
    if (!ok || !readSheet(sheet))
        return false;

    if (!sharedCells.empty()) {
        // No more strings are kept than the cells name; an index past those the file
        // holds is found below, by the count and not by arithmetic that could overflow.
        if (!zip.contains(QStringLiteral("xl/sharedStrings.xml")))
            return fail(damagedText);
        qint64 needed = 0;
        for (const SharedCell &shared : sharedCells)
            needed = std::max(needed, qint64(shared.index) + 1);
        ok = parse(
            QStringLiteral("xl/sharedStrings.xml"),
            [&](QXmlStreamReader &xml) {
                if (xml.name() == QLatin1String("si")) {
                    QString text = richText(xml);
                    // One character past the cap still shows that the cells get cut.
                    text.truncate(CellText::MaxLength + 1);
                    if (qint64(sharedStrings.size()) < needed)
                        sharedStrings.push_back(std::move(text));
                }
                return true;
            },
            800, 1000);
        if (!ok)
            return false;
        for (const SharedCell &shared : sharedCells) {
            if (std::size_t(shared.index) >= sharedStrings.size())
                return fail(damagedText);
            QString &text = cell(shared.row, shared.column).text;
            text = sharedStrings[std::size_t(shared.index)];
            if (CellText::cap(text))
                table.cutCells.emplace_back(shared.row, shared.column);
        }
    }
    if (!applyMerges())
        return false;

    for (SourceRow &row : table.rows) {
        while (!row.cells.empty() && row.cells.back().text.trimmed().isEmpty())
            row.cells.pop_back();
        table.columnCount = std::max(table.columnCount, int(row.cells.size()));
    }
    if (table.columnCount > SourceLimits::MaxColumns)
        return fail(SourceLimits::tooManyColumnsText());
    result = std::move(table);
    return true;
}

} // namespace

bool read(const QString &path, SourceTable &table, QString &reason, ReadControl *control)
{
    Reader reader(path, control);
    if (reader.run(table))
        return true;
    reason = reader.reason;
    return false;
}

} // namespace XlsxTable
