#include "pdfexport.h"

#include "textmetrics.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace PdfExport {

namespace {

// Device dots per inch: fine enough for thin rules, coarse enough for fast layout.
constexpr int Resolution = 300;
constexpr qreal Mm = Resolution / 25.4;

QFont font(qreal points, bool bold)
{
    // DejaVu has every Cyrillic letter and is embedded like any other TrueType font.
    QFont result(QStringLiteral("DejaVu Sans"));
    result.setStyleHint(QFont::SansSerif);
    result.setPointSizeF(points);
    result.setBold(bold);
    return result;
}

QTextOption wrapping(Qt::Alignment alignment)
{
    QTextOption option(alignment);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return option;
}

// Lines of a text wrapped as QPainter::drawText() wraps it with wrapping().
int lineCount(const QString &text, const QFont &font, QPaintDevice *device, qreal width)
{
    QString lines = text;
    lines.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(lines, font, device);
    layout.setTextOption(wrapping(Qt::AlignLeft));
    layout.beginLayout();
    int count = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        ++count;
    }
    layout.endLayout();
    return std::max(1, count);
}

// One thing placed on a page: a row of the table or an organization's sub-heading.
struct Item
{
    int row = -1;
    int group = -1;
    bool continued = false;
    qreal top = 0;
    qreal height = 0;
};

class Printer
{
public:
    Printer(QPdfWriter &writer, const ExportTable &table, const Options &options);
    bool print();

private:
    void fitColumns();
    qreal cellHeight(const QString &text, int column);
    qreal textWidth(const QString &text);
    void paginate();
    void paintPage(int page);
    void paintHeader(qreal top);
    void paintRow(const Item &item);

    QPdfWriter &writer;
    QPainter painter;
    const ExportTable &table;
    const Options &options;
    // "№" and the table's data columns.
    const int Columns;
    QFont bodyFont = font(8, false), boldFont = font(8, true);
    QFont headingFont = font(9, true), titleFont = font(14, true);
    QFontMetricsF body{bodyFont, &writer}, bold{boldFont, &writer};
    QFontMetricsF heading{headingFont, &writer}, title{titleFont, &writer};
    QHash<QString, qreal> widthCache;
    QPen rulePen, textPen{Qt::black};

    const qreal padX = 1.2 * Mm, padY = 0.7 * Mm;
    qreal pageWidth = 0, bodyBottom = 0, titleHeight = 0, headerHeight = 0, headingHeight = 0;
    std::vector<qreal> left;
    std::vector<QString> groupNames;
    std::vector<std::vector<int>> groups;
    std::vector<std::vector<Item>> pages;
};

Printer::Printer(QPdfWriter &writer, const ExportTable &table, const Options &options)
    : writer(writer), table(table), options(options), Columns(table.printedColumns),
      left(std::size_t(Columns + 1), 0)
{
    pageWidth = writer.width();
    const qreal footerHeight = body.lineSpacing() + 2 * Mm;
    bodyBottom = writer.height() - footerHeight;
    titleHeight = title.lineSpacing() + body.lineSpacing() + 4 * Mm;
    headingHeight = heading.lineSpacing() + 2 * padY;

    // Organizations in the order first met; each keeps its rows in the table's order.
    QHash<QString, int> groupOf;
    for (int r = 0; r < int(table.rows.size()); ++r) {
        const QString &name =
            table.rows[std::size_t(r)][std::size_t(table.organizationColumn)].text;
        auto found = groupOf.find(name);
        if (found == groupOf.end()) {
            found = groupOf.insert(name, int(groups.size()));
            groupNames.push_back(name.isEmpty() ? QStringLiteral("Без организации") : name);
            groups.emplace_back();
        }
        groups[std::size_t(found.value())].push_back(r);
    }
}

qreal Printer::textWidth(const QString &text)
{
    // Groups, sexes and steps repeat on most rows.
    auto found = widthCache.constFind(text);
    if (found != widthCache.constEnd())
        return found.value();
    return widthCache.insert(text, textAdvance(body, text)).value();
}

// Columns follow their contents. When together they are wider than the page, the widest
// give way down to a common width and wrap; a column is never narrower than the longest
// word of its title. Room left over goes to the columns in proportion.
void Printer::fitColumns()
{
    // A little more than the padding, so that sums of widths that lose their last digits
    // never make a text that fits wrap.
    const qreal room = 2 * padX + 0.2 * Mm;
    std::vector<qreal> natural(std::size_t(Columns), 0), minimum(std::size_t(Columns), 0);
    for (int c = 0; c < Columns; ++c) {
        qreal word = 0;
        for (const QString &part : table.titles.at(c).split(QLatin1Char(' ')))
            word = std::max(word, textAdvance(bold, part));
        minimum[c] = word + room;
        natural[c] = minimum[c];
        for (const ExportRowCells &row : table.rows)
            natural[c] = std::max(natural[c], textWidth(row[std::size_t(c)].text) + room);
        minimum[c] = std::min(minimum[c], natural[c]);
    }
    std::vector<qreal> widths(std::size_t(Columns), 0);
    const qreal total = std::accumulate(natural.begin(), natural.end(), qreal(0));
    if (total > pageWidth) {
        qreal low = 0, high = *std::max_element(natural.begin(), natural.end());
        while (high - low > 1) {
            const qreal cap = std::floor((low + high) / 2);
            qreal sum = 0;
            for (int c = 0; c < Columns; ++c)
                sum += std::min(natural[c], std::max(cap, minimum[c]));
            (sum <= pageWidth ? low : high) = cap;
        }
        for (int c = 0; c < Columns; ++c)
            widths[c] = std::min(natural[c], std::max(low, minimum[c]));
    } else {
        for (int c = 0; c < Columns; ++c)
            widths[c] = natural[c] * pageWidth / total;
    }
    for (int c = 0; c < Columns; ++c)
        left[c + 1] = left[c] + widths[c];
}

qreal Printer::cellHeight(const QString &text, int column)
{
    const qreal width = left[column + 1] - left[column] - 2 * padX;
    if (!text.contains(QLatin1Char('\n')) && textWidth(text) <= width)
        return body.lineSpacing();
    return lineCount(text, bodyFont, &writer, width) * body.lineSpacing();
}

void Printer::paginate()
{
    // A page without the title has room for any row after the header and a sub-heading;
    // a taller row is cut, never split.
    const qreal tallest = bodyBottom - titleHeight - headerHeight - headingHeight;
    qreal y = 0;
    const auto newPage = [&] {
        pages.emplace_back();
        y = (pages.size() == 1 ? titleHeight : 0) + headerHeight;
    };
    newPage();
    for (int g = 0; g < int(groups.size()); ++g) {
        bool headed = false;
        if (g > 0 && options.newPagePerOrganization)
            newPage();
        for (const int r : groups[std::size_t(g)]) {
            Item row{r, g, false, 0, 0};
            for (int c = 0; c < Columns; ++c)
                row.height =
                    std::max(row.height, cellHeight(table.rows[std::size_t(r)][c].text, c));
            row.height = std::min(row.height + 2 * padY, tallest);
            // A sub-heading never stays alone at the foot of a page.
            const qreal needed = row.height + (headed ? 0 : headingHeight);
            if (y + needed > bodyBottom && !pages.back().empty()) {
                newPage();
                headed = false;
            }
            if (!headed) {
                pages.back().push_back(
                    Item{-1, g, row.row != groups[std::size_t(g)].front(), y, headingHeight});
                y += headingHeight;
                headed = true;
            }
            row.top = y;
            pages.back().push_back(row);
            y += row.height;
        }
    }
}

void Printer::paintHeader(qreal top)
{
    QVector<QRectF> cells;
    for (int c = 0; c < Columns; ++c)
        cells << QRectF(left[c], top, left[c + 1] - left[c], headerHeight);
    painter.fillRect(QRectF(0, top, left[Columns], headerHeight), QColor(0xdd, 0xdd, 0xdd));
    painter.setPen(rulePen);
    painter.drawRects(cells);
    painter.setPen(textPen);
    painter.setFont(boldFont);
    for (int c = 0; c < Columns; ++c) {
        painter.drawText(cells[c].adjusted(padX, padY, -padX, -padY), table.titles.at(c),
                         wrapping(Qt::AlignHCenter | Qt::AlignVCenter));
    }
}

void Printer::paintRow(const Item &item)
{
    const QRectF band(0, item.top, left[Columns], item.height);
    if (item.row < 0) {
        painter.fillRect(band, QColor(0xf0, 0xf0, 0xf0));
        painter.setPen(rulePen);
        painter.drawRect(band);
        painter.setPen(textPen);
        painter.setFont(headingFont);
        QString text = groupNames[std::size_t(item.group)];
        if (item.continued)
            text += QStringLiteral(" (продолжение)");
        painter.drawText(band.adjusted(padX, 0, -padX, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         heading.elidedText(text, Qt::ElideRight, band.width() - 2 * padX));
        painter.setFont(bodyFont);
        return;
    }
    QVector<QRectF> cells;
    for (int c = 0; c < Columns; ++c)
        cells << QRectF(left[c], item.top, left[c + 1] - left[c], item.height);
    painter.setPen(rulePen);
    painter.drawRects(cells);
    painter.setPen(textPen);
    const ExportRowCells &row = table.rows[std::size_t(item.row)];
    for (int c = 0; c < Columns; ++c) {
        const QString &text = row[std::size_t(c)].text;
        const QRectF inner = cells[c].adjusted(padX, padY, -padX, -padY);
        if (text.isEmpty())
            continue;
        if (!text.contains(QLatin1Char('\n')) && textWidth(text) <= inner.width()) {
            // One line needs no layout: the quick path keeps long lists fast.
            const qreal x = c == 0 ? inner.right() - textWidth(text) : inner.left();
            painter.drawText(QPointF(x, inner.top() + body.ascent()), text);
        } else {
            painter.save();
            painter.setClipRect(inner);
            painter.drawText(inner, text, wrapping(c == 0 ? Qt::AlignRight : Qt::AlignLeft));
            painter.restore();
        }
    }
}

void Printer::paintPage(int page)
{
    qreal top = 0;
    if (page == 0) {
        painter.setFont(titleFont);
        painter.drawText(QRectF(0, 0, pageWidth, title.lineSpacing()), Qt::AlignLeft | Qt::AlignTop,
                         title.elidedText(options.title, Qt::ElideMiddle, pageWidth));
        painter.setFont(bodyFont);
        painter.drawText(QPointF(0, title.lineSpacing() + 1 * Mm + body.ascent()),
                         QStringLiteral("Дата печати: ") +
                             options.printDate.toString(QStringLiteral("dd.MM.yyyy")));
        top = titleHeight;
    }
    if (table.rows.empty()) {
        painter.setFont(headingFont);
        painter.drawText(QRectF(0, top, pageWidth, bodyBottom - top), Qt::AlignCenter,
                         QStringLiteral("Список пуст"));
    } else {
        paintHeader(top);
        painter.setFont(bodyFont);
        for (const Item &item : pages[std::size_t(page)])
            paintRow(item);
    }

    painter.setFont(bodyFont);
    const QRectF foot(0, bodyBottom + 2 * Mm, pageWidth, body.lineSpacing());
    painter.drawText(foot, Qt::AlignLeft | Qt::AlignVCenter,
                     body.elidedText(options.title, Qt::ElideMiddle, pageWidth * 0.7));
    painter.drawText(foot, Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("Стр. %1 из %2").arg(page + 1).arg(pages.size()));
}

bool Printer::print()
{
    if (!table.rows.empty()) {
        fitColumns();
        qreal tallest = 0;
        for (int c = 0; c < Columns; ++c) {
            const int lines =
                lineCount(table.titles.at(c), boldFont, &writer, left[c + 1] - left[c] - 2 * padX);
            tallest = std::max(tallest, lines * bold.lineSpacing());
        }
        headerHeight = tallest + 2 * padY;
        paginate();
    } else {
        pages.emplace_back();
    }

    if (!painter.begin(&writer))
        return false;
    rulePen.setColor(QColor(0x99, 0x99, 0x99));
    rulePen.setWidthF(0.15 * Mm);
    for (int page = 0; page < int(pages.size()); ++page) {
        if (page > 0 && !writer.newPage())
            return false;
        painter.setPen(textPen);
        paintPage(page);
    }
    return painter.end();
}

} // namespace

bool write(const ExportTable &table, const Options &options, QByteArray &out)
{
    QBuffer buffer(&out);
    if (!buffer.open(QIODevice::WriteOnly))
        return false;
    QPdfWriter writer(&buffer);
    writer.setResolution(Resolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    writer.setTitle(options.title);
    writer.setCreator(QStringLiteral("quillor list exporter"));
    Printer printer(writer, table, options);
    return printer.print() && !out.isEmpty();
}

} // namespace PdfExport
