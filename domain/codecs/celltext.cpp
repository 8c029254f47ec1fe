#include "celltext.h"

#include <QRegularExpression>

namespace CellText {

namespace {

// A line feed too: the CSV import reads a carriage return and line feed as one line feed.
bool isTrigger(QChar c)
{
    return c == QLatin1Char('=') || c == QLatin1Char('+') || c == QLatin1Char('-') ||
           c == QLatin1Char('@') || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
           c == QLatin1Char('\n');
}

// Characters a spreadsheet skips or does not show before a formula.
bool isIgnorable(QChar c)
{
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Other_Format: // U+FEFF, zero-width and bidirectional marks
    case QChar::Separator_Space:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return c.isSpace();
    }
}

bool isXmlChar(const QString &text, int i)
{
    const ushort c = text.at(i).unicode();
    if (c < 0x20)
        return c == 0x09 || c == 0x0A || c == 0x0D;
    if (c == 0xFFFE || c == 0xFFFF)
        return false;
    if (QChar::isHighSurrogate(c))
        return i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
    if (QChar::isLowSurrogate(c))
        return i > 0 && text.at(i - 1).isHighSurrogate();
    return true;
}

} // namespace

bool startsLikeFormula(const QString &text)
{
    for (const QChar c : text) {
        if (isTrigger(c))
            return true;
        if (!isIgnorable(c))
            return false;
    }
    return false;
}

bool needsApostrophe(const QString &text)
{
    return text.startsWith(QLatin1Char('\'')) || startsLikeFormula(text);
}

QString withoutApostrophe(const QString &text)
{
    if (text.startsWith(QLatin1Char('\'')) && needsApostrophe(text.mid(1)))
        return text.mid(1);
    return text;
}

bool replaceNonXml(QString &text)
{
    bool replaced = false;
    for (int i = 0; i < text.size(); ++i) {
        if (!isXmlChar(text, i)) {
            // A pair is judged by both halves before either is replaced.
            text[i] = QChar(QChar::ReplacementCharacter);
            replaced = true;
        } else if (text.at(i).isHighSurrogate()) {
            ++i;
        }
    }
    return replaced;
}

bool replaceLoneSurrogates(QString &text)
{
    bool replaced = false;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i).isSurrogate() && !isXmlChar(text, i)) {
            text[i] = QChar(QChar::ReplacementCharacter);
            replaced = true;
        } else if (text.at(i).isHighSurrogate()) {
            ++i;
        }
    }
    return replaced;
}

QString escapeSheetText(const QString &text)
{
    if (!text.contains(QLatin1String("_x"), Qt::CaseInsensitive))
        return text;
    // Each underscore that starts an escape, also one that ends the escape before it, and
    // one before a carriage return, which the library writes as an escape of its own.
    static const QRegularExpression escape(QStringLiteral("_(?=x[0-9A-Fa-f]{4}[_\\r])"));
    QString out = text;
    return out.replace(escape, QStringLiteral("_x005F_"));
}

bool cap(QString &text)
{
    if (text.size() <= MaxLength)
        return false;
    text.truncate(text.at(MaxLength - 1).isHighSurrogate() ? MaxLength - 1 : MaxLength);
    return true;
}

} // namespace CellText
