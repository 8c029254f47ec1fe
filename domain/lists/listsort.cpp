#include "listsort.h"

#include "listtext.h"
#include "participantrules.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <cmath>

namespace ListSort {

namespace {

// Rows sort first by band, then within a band by number or collation key; only the order
// inside a band turns round for a descending sort.
enum Band { Numbers, Texts, Missing };

struct SortKey
{
    Band band = Missing;
    double number = 0;
    QCollatorSortKey text;
};

} // namespace

std::vector<int> order(const std::vector<ListRow> &rows, int key, Kind kind, bool descending)
{
    QCollator collator{QLocale(QStringLiteral("ru_RU"))};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    const QCollatorSortKey none = collator.sortKey(QString());

    // Collation keys once per row: comparing texts through the collator each time costs
    // ten times as much.
    std::vector<SortKey> keys(rows.size(), SortKey{Missing, 0, none});
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const QString text = ListText::of(findValue(rows[i], key)).trimmed();
        SortKey &sortKey = keys[i];
        if (text.isEmpty())
            continue;
        if (kind == Kind::Date) {
            const QDate date = ParticipantRules::birthDate(text);
            sortKey.band = date.isValid() ? Numbers : Missing;
            sortKey.number = double(date.toJulianDay());
            continue;
        }
        bool isNumber = false;
        // "nan" and "inf" read as numbers but do not order as ones.
        if (kind == Kind::Number)
            sortKey.number = QLocale::c().toDouble(text, &isNumber);
        isNumber = isNumber && std::isfinite(sortKey.number);
        sortKey.band = isNumber ? Numbers : Texts;
        if (!isNumber)
            sortKey.text = collator.sortKey(text);
    }

    std::vector<int> result(rows.size());
    for (std::size_t i = 0; i < result.size(); ++i)
        result[i] = int(i);
    std::stable_sort(result.begin(), result.end(), [&keys, descending](int a, int b) {
        const SortKey &x = keys[std::size_t(a)];
        const SortKey &y = keys[std::size_t(b)];
        if (x.band != y.band)
            return x.band < y.band;
        int compared = 0;
        if (x.band == Numbers)
            compared = x.number < y.number ? -1 : y.number < x.number ? 1 : 0;
        else if (x.band == Texts)
            compared = x.text.compare(y.text);
        return descending ? compared > 0 : compared < 0;
    });
    return result;
}

} // namespace ListSort
