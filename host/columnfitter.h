#pragma once

#include <QFont>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <vector>

class QAbstractItemModel;

// The widths of the editing table's columns and the texts its cells show, as the table's
// font sets them.
//
// Every title and the delete column get their whole width first; what room is left goes
// to the text columns by their content, and the widest give way down to a common width,
// eliding their longest texts. Only when the titles alone are wider than the view do the
// columns run past it.
class ColumnFitter : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QFont font READ font WRITE setFont NOTIFY fontChanged)
    // The room beside a title for the arrow of the sorted column.
    Q_PROPERTY(qreal arrowRoom READ arrowRoom NOTIFY fontChanged)
    // For the cells, which place their texts by it.
    Q_PROPERTY(qreal textPadding READ padding CONSTANT)

public:
    // A cell's text stands this far in from its sides, both together.
    static constexpr qreal textPadding = 16;
    qreal padding() const { return textPadding; }
    // Marks a text of several lines, after its first line.
    static const QChar moreLines;

    explicit ColumnFitter(QObject *parent = nullptr);

    QFont font() const { return textFont; }
    void setFont(const QFont &font);
    qreal arrowRoom() const;

    // What a cell of the column `role` shows for `value`: the value as the column shows it,
    // nothing for a missing one, and of a text of several lines its first line and the mark.
    Q_INVOKABLE static QString shownText(const QString &role, const QVariant &value);
    Q_INVOKABLE static bool hasSeveralLines(const QString &text) { return firstLineEnd(text) >= 0; }
    Q_INVOKABLE qreal textWidth(const QString &text) const;
    // A title shows one word a line, so that ten titles fit beside each other.
    Q_INVOKABLE qreal titleWidth(const QString &title) const;
    Q_INVOKABLE qreal headerWidth(const QString &title, bool sorted) const;
    // For each of `roles`, the widest text a cell shows for it in the first `rows` rows of
    // `model`, padding included; 0 for a column with nothing to show. No cell is made.
    Q_INVOKABLE QVariantList contentWidths(QAbstractItemModel *model, const QStringList &roles,
                                           int rows) const;
    // The columns' widths in `available` room: `titles` and `roles` in column order, the
    // contents as contentWidths() gave them, the delete column `deleteWidth` wide.
    Q_INVOKABLE QVariantList widths(const QStringList &titles, const QStringList &roles,
                                    const QVariantList &contents, const QString &sortRole,
                                    qreal deleteWidth, qreal available) const;

    // Each column gets what it wants, or at least its minimum, whichever is larger; when
    // together they are wider than `available`, the widest are cut down to one common
    // width, never below their minimums.
    static std::vector<qreal> share(const std::vector<qreal> &wanted,
                                    const std::vector<qreal> &minimums, qreal available);

private:
    // Where the first line of `text` ends, or -1 for a text of one line.
    static int firstLineEnd(const QString &text);

signals:
    void fontChanged();

private:
    QFont textFont;
};
