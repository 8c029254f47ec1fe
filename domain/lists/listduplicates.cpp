#include "listduplicates.h"

#include "listtext.h"

#include <QDate>
#include <QStringList>
#include <cstdio>
#include <string_view>
#include <unordered_map>

namespace ListDuplicates {

namespace {

std::string textOf(const ListRow &row, int key)
{
    const QByteArray *text = ListText::bytesOf(findValue(row, key));
    return text ? ListText::trimmed(viewOf(*text)) : std::string();
}

// A birth date as the day it names, "d.M.yyyy" as "dd.MM.yyyy"; any other text as it is.
std::string dayOf(const std::string &text)
{
    int parts[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int part = 0;
    for (const char c : text) {
        if (c == '.' && part < 2) {
            ++part;
        } else if (c >= '0' && c <= '9') {
            parts[part] = parts[part] * 10 + (c - '0');
            ++digits[part];
        } else {
            return text;
        }
    }
    if (part != 2 || digits[0] < 1 || digits[0] > 2 || digits[1] < 1 || digits[1] > 2 ||
        digits[2] != 4 || !QDate::isValid(parts[2], parts[1], parts[0]))
        return text;
    char day[16];
    std::snprintf(day, sizeof(day), "%02d.%02d.%04d", parts[0], parts[1], parts[2]);
    return day;
}

// What makes two values the same: surrounding spaces never do, case and "ё" do not in a
// name, and a birth date is the day it names however it is spelled.
std::string sameness(Kind kind, const ListRow &row, const std::vector<int> &keyOf)
{
    if (kind != NameAndBirthDate)
        return textOf(row, keyOf[kind]);
    const std::string name = textOf(row, keyOf[2]);
    const std::string born = textOf(row, keyOf[3]);
    if (name.empty() || born.empty())
        return std::string();
    std::string single;
    single.reserve(name.size());
    for (const char c : name) {
        if (c != ' ' || single.empty() || single.back() != ' ')
            single += c;
    }
    std::string key;
    key.reserve(name.size() + 12);
    ListText::appendFolded(key, single);
    key += '\0';
    key += dayOf(born);
    return key;
}

} // namespace

std::vector<int> keyIndices(const KeyTable &keys)
{
    return {keys.find("gtoUuid"), keys.find("pectoralNumber"), keys.find("name"),
            keys.find("birthDate")};
}

RowKeys rowKeys(const ListRow &row, const std::vector<int> &keyIndices)
{
    RowKeys keys;
    for (int kind = 0; kind < KindCount; ++kind) {
        const std::string same = sameness(Kind(kind), row, keyIndices);
        const std::uint64_t hash = std::hash<std::string>()(same);
        keys[std::size_t(kind)] = same.empty() ? 0 : hash == 0 ? 1 : hash;
    }
    return keys;
}

Result find(const std::vector<RowKeys> &rowKeys)
{
    Result result;
    std::array<int, KindCount> none;
    none.fill(-1);
    result.groupOf.assign(rowKeys.size(), none);
    std::vector<bool> marked(rowKeys.size(), false);
    for (std::size_t kind = 0; kind < KindCount; ++kind) {
        // The first row met with each value, until a second one makes a group of them.
        std::unordered_map<std::uint64_t, int> firstRow;
        firstRow.reserve(rowKeys.size());
        for (std::size_t row = 0; row < rowKeys.size(); ++row) {
            const std::uint64_t value = rowKeys[row][kind];
            if (value == 0)
                continue;
            const auto first = firstRow.emplace(value, int(row));
            if (first.second)
                continue;
            const int firstRowOf = first.first->second;
            int &group = result.groupOf[std::size_t(firstRowOf)][kind];
            if (group < 0) {
                group = int(result.groups.size());
                result.groups.push_back({firstRowOf});
                marked[std::size_t(firstRowOf)] = true;
            }
            result.groupOf[row][kind] = group;
            result.groups[std::size_t(group)].push_back(int(row));
            marked[row] = true;
        }
    }
    for (const bool mark : marked)
        result.markedRows += mark ? 1 : 0;
    return result;
}

QString rowList(const std::vector<int> &group, int self, int most)
{
    QStringList numbers;
    for (const int row : group) {
        if (row == self)
            continue;
        if (numbers.size() == most) {
            numbers.append(QStringLiteral("…"));
            break;
        }
        numbers.append(QString::number(row + 1));
    }
    return (numbers.size() == 1 ? QStringLiteral("запись ") : QStringLiteral("записи ")) +
           numbers.join(QStringLiteral(", "));
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

QVariantMap notes(const Result &result, int row, int most)
{
    QVariantMap notes;
    if (std::size_t(row) >= result.groupOf.size())
        return notes;
    const auto &groupOf = result.groupOf[std::size_t(row)];
    const auto note = [&](Kind kind, const QString &what) {
        const int group = groupOf[std::size_t(kind)];
        return group < 0 ? QString() : what + rowList(result.groups[std::size_t(group)], row, most);
    };
    const QString uuid = note(Uuid, QStringLiteral("Тот же УИН: "));
    const QString bib = note(Bib, QStringLiteral("Тот же нагрудный номер: "));
    const QString person = note(NameAndBirthDate, QStringLiteral("То же имя и дата рождения: "));
    if (!uuid.isEmpty())
        notes.insert(QStringLiteral("gtoUuid"), uuid);
    if (!bib.isEmpty())
        notes.insert(QStringLiteral("pectoralNumber"), bib);
    if (!person.isEmpty()) {
        notes.insert(QStringLiteral("name"), person);
        notes.insert(QStringLiteral("birthDate"), person);
    }
    return notes;
}

} // namespace ListDuplicates
