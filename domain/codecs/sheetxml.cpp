#include "sheetxml.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

namespace SheetXml {

bool cellPosition(const QStringRef &ref, int &row, int &column)
{
    // Three letters reach past XFD; more would overflow the column's number.
    int i = 0;
    column = 0;
    for (; i < ref.size() && ref.at(i).isUpper() && ref.at(i).unicode() < 128; ++i) {
        if (i == 3)
            return false;
        column = column * 26 + (ref.at(i).unicode() - 'A' + 1);
    }
    --column;
    return i > 0 && column < MaxSheetColumns && rowNumber(ref.mid(i), row);
}

bool rowNumber(const QStringRef &text, int &row)
{
    bool ok = false;
    const qint64 number = text.toLongLong(&ok);
    if (!ok || number < 1 || number > MaxSheetRows)
        return false;
    row = int(number - 1);
    return true;
}

bool cellRange(const QStringRef &ref, int &row1, int &column1, int &row2, int &column2)
{
    const QVector<QStringRef> corners = ref.split(QLatin1Char(':'));
    return corners.size() == 2 && cellPosition(corners[0], row1, column1) &&
           cellPosition(corners[1], row2, column2) && row2 >= row1 && column2 >= column1;
}

bool isDateFormat(int id, const QString &code)
{
    if ((id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 36) || (id >= 50 && id <= 58))
        return true;
    for (int i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i).toLower();
        if (c == QLatin1Char('"')) {
            i = code.indexOf(QLatin1Char('"'), i + 1);
            if (i < 0)
                return false;
        } else if (c == QLatin1Char('[')) {
            i = code.indexOf(QLatin1Char(']'), i + 1);
            if (i < 0)
                return false;
        } else if (c == QLatin1Char('\\') || c == QLatin1Char('_') || c == QLatin1Char('*')) {
            ++i;
        } else if (c == QLatin1Char('d') || c == QLatin1Char('y')) {
            return true;
        }
    }
    return false;
}

void skipElement(QXmlStreamReader &xml)
{
    int depth = 1;
    while (depth > 0 && !xml.atEnd() && !xml.hasError()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement)
            --depth;
        else if (token == QXmlStreamReader::StartElement && ++depth > MaxDepth)
            xml.raiseError();
    }
}

QString richText(QXmlStreamReader &xml)
{
    QString text;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("t")) {
            text += xml.readElementText();
        } else if (xml.name() == QLatin1String("r")) {
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("t"))
                    text += xml.readElementText();
                else
                    skipElement(xml);
            }
        } else {
            skipElement(xml);
        }
    }
    if (text.contains(QLatin1String("_x"))) {
        static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
        QRegularExpressionMatch match;
        int from = 0;
        while ((match = escape.match(text, from)).hasMatch()) {
            const QChar c(ushort(match.capturedRef(1).toUInt(nullptr, 16)));
            text.replace(match.capturedStart(), match.capturedLength(), c);
            from = match.capturedStart() + 1;
        }
    }
    return text;
}

} // namespace SheetXml
