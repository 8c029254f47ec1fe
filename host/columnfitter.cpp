#include "columnfitter.h"

#include "columnschema.h"
#include "textmetrics.h"

#include <QAbstractItemModel>
#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

const QChar ColumnFitter::moreLines(0x23CE);

ColumnFitter::ColumnFitter(QObject *parent) : QObject(parent) {}

void ColumnFitter::setFont(const QFont &font)
{
    if (font == textFont)
        return;
    textFont = font;
    emit fontChanged();
}

qreal ColumnFitter::arrowRoom() const
{
    return std::ceil(textAdvance(QFontMetricsF(textFont), QStringLiteral("▲"))) + 4;
}

QString ColumnFitter::shownText(const QString &role, const QVariant &value)
{
    if (!value.isValid() || value.userType() == QMetaType::Nullptr)
        return QString();
    const ColumnSchema::Column *column = ColumnSchema::find(role.toStdString());
    const QString text = column ? ColumnSchema::shownText(*column, value) : value.toString();
    const int end = firstLineEnd(text);
    return end < 0 ? text : text.left(end) + QLatin1Char(' ') + moreLines;
}

int ColumnFitter::firstLineEnd(const QString &text)
{
    // Any of the breaks a text line may end with.
    static const QString breaks = QStringLiteral("\n\r\x0b\x0c\u0085\u2028\u2029");
    const auto end =
        std::find_if(text.cbegin(), text.cend(), [](QChar c) { return breaks.contains(c); });
    return end == text.cend() ? -1 : int(end - text.cbegin());
}

qreal ColumnFitter::textWidth(const QString &text) const
{
    return textAdvance(QFontMetricsF(textFont), text);
}

qreal ColumnFitter::titleWidth(const QString &title) const
{
    const QFontMetricsF metrics(textFont);
    qreal width = 0;
    for (const QString &word : title.split(QLatin1Char(' ')))
        width = std::max(width, textAdvance(metrics, word));
    return std::ceil(width) + textPadding;
}

qreal ColumnFitter::headerWidth(const QString &title, bool sorted) const
{
    // Only the sorted column shows an arrow, so only it needs the room: reserving it in
    // every title would take from the names a width that the other arrows never use.
    return titleWidth(title) + (sorted ? arrowRoom() : 0);
}

QVariantList ColumnFitter::contentWidths(QAbstractItemModel *model, const QStringList &roles,
                                         int rows) const
{
    QVariantList widths;
    if (!model)
        return widths;
    const QFontMetricsF metrics(textFont);
    const QHash<int, QByteArray> names = model->roleNames();
    const int count = std::min(rows, model->rowCount());
    for (const QString &role : roles) {
        const int number = names.key(role.toUtf8(), -1);
        qreal widest = 0;
        for (int row = 0; number >= 0 && row < count; ++row) {
            const QString text = shownText(role, model->index(row, 0).data(number));
            if (!text.isEmpty())
                widest = std::max(widest, std::ceil(textAdvance(metrics, text)) + textPadding);
        }
        widths.append(widest);
    }
    return widths;
}

QVariantList ColumnFitter::widths(const QStringList &titles, const QStringList &roles,
                                  const QVariantList &contents, const QString &sortRole,
                                  qreal deleteWidth, qreal available) const
{
    std::vector<qreal> wanted, minimums;
    for (int i = 0; i < titles.size(); ++i) {
        const QString role = roles.value(i);
        const qreal title = headerWidth(titles.at(i), !role.isEmpty() && role == sortRole);
        // The delete buttons are whole or useless.
        const qreal least = role == QLatin1String("delete") ? std::max(title, deleteWidth) : title;
        minimums.push_back(least);
        wanted.push_back(std::max(least, contents.value(i).toReal()));
    }
    QVariantList result;
    for (qreal width : share(wanted, minimums, std::floor(available)))
        result.append(width);
    return result;
}

std::vector<qreal> ColumnFitter::share(const std::vector<qreal> &wanted,
                                       const std::vector<qreal> &minimums, qreal available)
{
    std::vector<qreal> widths(wanted.size());
    const auto widthsAt = [&](qreal cap) {
        qreal sum = 0;
        for (std::size_t i = 0; i < wanted.size(); ++i) {
            widths[i] = std::max(minimums[i], std::min(wanted[i], cap));
            sum += widths[i];
        }
        return sum;
    };
    const qreal widest = wanted.empty() ? 0 : *std::max_element(wanted.begin(), wanted.end());
    if (widthsAt(widest) <= available)
        return widths;
    // The largest whole cap that fits; at 0 every column is at its minimum.
    qreal low = 0, high = std::ceil(widest);
    while (high - low > 1) {
        const qreal cap = std::floor((low + high) / 2);
        if (widthsAt(cap) <= available)
            low = cap;
        else
            high = cap;
    }
    widthsAt(low);
    return widths;
}
