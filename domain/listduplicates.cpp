#include "listduplicates.h"

#include "listtext.h"
#include "participantrules.h"

#include <QHash>

namespace ListDuplicates {

namespace {

// What makes two values the same: surrounding spaces never do, and a birth date is the day
// it names however it is spelled.
QString sameness(Kind kind, const ListRow &row, const int keyOf[])
{
    const auto text = [&row](int key) { return ListText::of(findValue(row, key)).trimmed(); };
    if (kind != NameAndBirthDate)
        return text(keyOf[kind]);
    const QString name = ListText::folded(ParticipantRules::trimName(text(keyOf[2])));
    const QString born = text(keyOf[3]);
    if (name.isEmpty() || born.isEmpty())
        return QString();
    const QDate date = ParticipantRules::birthDate(born);
    return name + QChar(0) + (date.isValid() ? QString::number(date.toJulianDay()) : born);
}

} // namespace

Result find(const std::vector<ListRow> &rows, const KeyTable &keys)
{
    const int keyOf[] = {keys.find("gtoUuid"), keys.find("pectoralNumber"), keys.find("name"),
                         keys.find("birthDate")};
    Result result;
    std::array<int, KindCount> none;
    none.fill(-1);
    result.groupOf.assign(rows.size(), none);
    std::vector<bool> marked(rows.size(), false);
    for (int kind = 0; kind < KindCount; ++kind) {
        // The first row met with each value, until a second one makes a group of them.
        QHash<QString, int> firstRow;
        firstRow.reserve(int(rows.size()));
        for (std::size_t row = 0; row < rows.size(); ++row) {
            const QString value = sameness(Kind(kind), rows[row], keyOf);
            if (value.isEmpty())
                continue;
            auto first = firstRow.find(value);
            if (first == firstRow.end()) {
                firstRow.insert(value, int(row));
                continue;
            }
            int &group = result.groupOf[std::size_t(first.value())][std::size_t(kind)];
            if (group < 0) {
                group = int(result.groups.size());
                result.groups.push_back({first.value()});
                marked[std::size_t(first.value())] = true;
            }
            result.groupOf[row][std::size_t(kind)] = group;
            result.groups[std::size_t(group)].push_back(int(row));
            marked[row] = true;
        }
    }
    for (const bool mark : marked)
        result.markedRows += mark ? 1 : 0;
    return result;
}

std::vector<int> rowsWith(const std::vector<ListRow> &rows, int key, const QString &text)
{
    std::vector<int> found;
    const QString wanted = text.trimmed();
    if (wanted.isEmpty() || key < 0)
        return found;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (ListText::of(findValue(rows[row], key)).trimmed() == wanted)
            found.push_back(int(row));
    }
    return found;
}

} // namespace ListDuplicates
