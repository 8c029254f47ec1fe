#pragma once

#include <QString>

// What the exports do to a cell's text so that a spreadsheet neither runs it nor refuses
// the file, and what the CSV import undoes.
namespace CellText {

// A sheet cell holds 32,767 UTF-16 units at most; the readers cut a longer cell there.
constexpr int MaxLength = 32767;

// Whether a spreadsheet could take the text for a formula: its first character that is
// not a control, white space, a byte-order mark, a zero-width or a bidirectional mark is
// "=", "+", "-", "@", a tab or a line break.
bool startsLikeFormula(const QString &text);

// Whether the CSV export puts an apostrophe before the text: a text that starts like a
// formula, and one that starts with an apostrophe of its own, which the import removes.
bool needsApostrophe(const QString &text);
// The CSV import's undoing of the above: exactly one apostrophe goes.
QString withoutApostrophe(const QString &text);

// XML 1.0 holds no controls but tab and line ends, no U+FFFE or U+FFFF and no lone
// surrogate: each becomes U+FFFD. True when any was replaced.
bool replaceNonXml(QString &text);

// UTF-8 holds no half of a surrogate pair: each becomes U+FFFD. True when any was.
bool replaceLoneSurrogates(QString &text);

// A text as a sheet's XML spells it: a literal "_xHHHH_" would read back as the character
// it names, so its underscore is written "_x005F_".
QString escapeSheetText(const QString &text);

// The text cut to MaxLength without parting a surrogate pair; true when it was cut.
bool cap(QString &text);

} // namespace CellText
