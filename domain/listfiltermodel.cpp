#include "listfiltermodel.h"

#include "listtext.h"
#include "participantrules.h"

#include <QPersistentModelIndex>
#include <algorithm>

namespace {

// The keys of the table's columns, whose texts the find field looks through.
const char *const columnKeys[] = {"name", "birthDate", "group",          "organization", "gtoUuid",
                                  "sex",  "step",      "pectoralNumber", "athleticRank"};

// Notes name at most this many other rows; a longer list would not fit a tooltip.
constexpr int notedRows = 10;

QString rowList(const std::vector<int> &group, int self)
{
    QStringList numbers;
    for (const int row : group) {
        if (row == self)
            continue;
        if (numbers.size() == notedRows) {
            numbers.append(QStringLiteral("…"));
            break;
        }
        numbers.append(QString::number(row + 1));
    }
    return (numbers.size() == 1 ? QStringLiteral("запись ") : QStringLiteral("записи ")) +
           numbers.join(QStringLiteral(", "));
}

} // namespace

ListFilterModel::ListFilterModel(QObject *parent) : QAbstractListModel(parent)
{
    const auto counted = [this] { emit countChanged(); };
    connect(this, &QAbstractItemModel::rowsInserted, this, counted);
    connect(this, &QAbstractItemModel::rowsRemoved, this, counted);
    connect(this, &QAbstractItemModel::modelReset, this, counted);
    connect(this, &QAbstractItemModel::layoutChanged, this, counted);
}

int ListFilterModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(shown.size());
}

QVariant ListFilterModel::data(const QModelIndex &index, int role) const
{
    if (!source || !index.isValid() || index.model() != this || index.parent().isValid() ||
        index.row() >= int(shown.size()))
        return QVariant();
    const int row = shown[std::size_t(index.row())];
    if (role == DuplicatesRole)
        return notes(row);
    return source->data(source->index(row), role);
}

QHash<int, QByteArray> ListFilterModel::roleNames() const
{
    QHash<int, QByteArray> names = ParticipantListModel().roleNames();
    names.insert(DuplicatesRole, "duplicates");
    return names;
}

void ListFilterModel::setList(ParticipantListModel *list)
{
    if (source == list)
        return;
    if (source)
        disconnect(source, nullptr, this, nullptr);
    beginResetModel();
    source = list;
    findTextsValid = false;
    if (source) {
        connect(source, &QAbstractItemModel::dataChanged, this, &ListFilterModel::onDataChanged);
        connect(source, &QAbstractItemModel::rowsInserted, this,
                [this](const QModelIndex &, int first, int last) { onRowsInserted(first, last); });
        connect(source, &QAbstractItemModel::rowsRemoved, this,
                [this](const QModelIndex &, int first, int last) { onRowsRemoved(first, last); });
        connect(source, &QAbstractItemModel::modelAboutToBeReset, this,
                [this] { beginResetModel(); });
        connect(source, &QAbstractItemModel::modelReset, this, [this] {
            findTextsValid = false;
            shown = pickRows();
            endResetModel();
            findDuplicates();
        });
        connect(source, &QAbstractItemModel::layoutAboutToBeChanged, this,
                &ListFilterModel::onLayoutAboutToChange);
        connect(source, &QAbstractItemModel::layoutChanged, this,
                &ListFilterModel::onLayoutChanged);
    }
    shown = pickRows();
    endResetModel();
    findDuplicates();
    emit listChanged();
}

void ListFilterModel::setFilterText(const QString &text)
{
    if (filter == text)
        return;
    filter = text;
    foldedFilter = ListText::folded(text);
    repick();
    emit filterTextChanged();
}

int ListFilterModel::sourceRow(int row) const
{
    return row >= 0 && row < int(shown.size()) ? shown[std::size_t(row)] : -1;
}

int ListFilterModel::rowOf(int sourceRow) const
{
    const auto at = std::lower_bound(shown.begin(), shown.end(), sourceRow);
    return at != shown.end() && *at == sourceRow ? int(at - shown.begin()) : -1;
}

QString ListFilterModel::findText(int sourceRow) const
{
    // A separator no one types, so that a text never matches across two columns.
    QString text;
    const ListRow &row = source->rows()[std::size_t(sourceRow)];
    for (const char *name : columnKeys) {
        const int key = source->keys().find(name);
        const ListValue *value = key < 0 ? nullptr : findValue(row, key);
        if (!value)
            continue;
        QString shownText = ListText::of(value);
        if (key == source->keys().find("step"))
            shownText = ParticipantRules::shownStep(shownText);
        text += ListText::folded(shownText);
        text += QChar(0x1F);
    }
    return text;
}

void ListFilterModel::buildFindTexts() const
{
    if (findTextsValid)
        return;
    const int rows = source->rowCount();
    findTexts.clear();
    findTexts.reserve(std::size_t(rows));
    for (int row = 0; row < rows; ++row)
        findTexts.push_back(findText(row));
    findTextsValid = true;
}

bool ListFilterModel::matches(int sourceRow) const
{
    if (foldedFilter.isEmpty())
        return true;
    buildFindTexts();
    return findTexts[std::size_t(sourceRow)].contains(foldedFilter);
}

std::vector<int> ListFilterModel::pickRows() const
{
    std::vector<int> rows;
    const int count = source ? source->rowCount() : 0;
    rows.reserve(std::size_t(count));
    for (int row = 0; row < count; ++row) {
        if (matches(row))
            rows.push_back(row);
    }
    return rows;
}

// A new find text shows another set of rows: the view starts again from the top.
void ListFilterModel::repick()
{
    beginResetModel();
    shown = pickRows();
    endResetModel();
}

void ListFilterModel::onDataChanged(const QModelIndex &first, const QModelIndex &last)
{
    for (int row = first.row(); row <= last.row(); ++row) {
        if (findTextsValid)
            findTexts[std::size_t(row)] = findText(row);
    }
    const auto from = std::lower_bound(shown.begin(), shown.end(), first.row());
    const auto to = std::upper_bound(from, shown.end(), last.row());
    if (from != to)
        emit dataChanged(index(int(from - shown.begin())), index(int(to - shown.begin()) - 1));
    findDuplicates();
}

// Rows put back, by an undo or an import, show when they hold the find text.
void ListFilterModel::onRowsInserted(int first, int last)
{
    const int added = last - first + 1;
    auto at = std::lower_bound(shown.begin(), shown.end(), first);
    for (auto later = at; later != shown.end(); ++later)
        *later += added;
    if (findTextsValid) {
        findTexts.insert(findTexts.begin() + first, std::size_t(added), QString());
        for (int row = first; row <= last; ++row)
            findTexts[std::size_t(row)] = findText(row);
    }
    std::vector<int> picked;
    for (int row = first; row <= last; ++row) {
        if (matches(row))
            picked.push_back(row);
    }
    if (!picked.empty()) {
        const int place = int(at - shown.begin());
        beginInsertRows(QModelIndex(), place, place + int(picked.size()) - 1);
        shown.insert(shown.begin() + place, picked.begin(), picked.end());
        endInsertRows();
    }
    findDuplicates();
}

void ListFilterModel::onRowsRemoved(int first, int last)
{
    const int removed = last - first + 1;
    if (findTextsValid)
        findTexts.erase(findTexts.begin() + first, findTexts.begin() + last + 1);
    const auto from = std::lower_bound(shown.begin(), shown.end(), first);
    const auto to = std::upper_bound(from, shown.end(), last);
    const int place = int(from - shown.begin());
    if (from != to) {
        beginRemoveRows(QModelIndex(), place, int(to - shown.begin()) - 1);
        shown.erase(from, to);
        endRemoveRows();
    }
    for (auto later = shown.begin() + place; later != shown.end(); ++later)
        *later -= removed;
    findDuplicates();
}

void ListFilterModel::onLayoutAboutToChange()
{
    emit layoutAboutToBeChanged();
    // Where each index kept on this model points in the list, to follow its row.
    layoutIndexes = persistentIndexList();
    sourceIndexes.clear();
    for (const QModelIndex &kept : layoutIndexes)
        sourceIndexes.append(QPersistentModelIndex(source->index(sourceRow(kept.row()))));
}

void ListFilterModel::onLayoutChanged()
{
    findTextsValid = false;
    shown = pickRows();
    QModelIndexList moved;
    for (const QPersistentModelIndex &kept : sourceIndexes) {
        const int row = kept.isValid() ? rowOf(kept.row()) : -1;
        moved.append(row < 0 ? QModelIndex() : index(row));
    }
    changePersistentIndexList(layoutIndexes, moved);
    layoutIndexes.clear();
    sourceIndexes.clear();
    emit layoutChanged();
    findDuplicates();
}

void ListFilterModel::findDuplicates()
{
    ListDuplicates::Result found;
    if (source)
        found = ListDuplicates::find(source->rows(), source->keys());
    if (found == duplicates)
        return;
    const int markedBefore = duplicates.markedRows;
    duplicates = std::move(found);
    if (!shown.empty())
        emit dataChanged(index(0), index(int(shown.size()) - 1), {DuplicatesRole});
    if (duplicates.markedRows != markedBefore)
        emit duplicateCountChanged();
}

QVariantMap ListFilterModel::notes(int sourceRow) const
{
    QVariantMap notes;
    if (std::size_t(sourceRow) >= duplicates.groupOf.size())
        return notes;
    const auto &groupOf = duplicates.groupOf[std::size_t(sourceRow)];
    const auto note = [&](ListDuplicates::Kind kind, const QString &what) {
        const int group = groupOf[std::size_t(kind)];
        return group < 0 ? QString()
                         : what + rowList(duplicates.groups[std::size_t(group)], sourceRow);
    };
    const QString uuid = note(ListDuplicates::Uuid, QStringLiteral("Тот же УИН: "));
    const QString bib = note(ListDuplicates::Bib, QStringLiteral("Тот же нагрудный номер: "));
    const QString person =
        note(ListDuplicates::NameAndBirthDate, QStringLiteral("То же имя и дата рождения: "));
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
