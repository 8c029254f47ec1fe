#include "listfiltermodel.h"

#include "columnschema.h"
#include "listtext.h"
#include "participantrules.h"

#include <QPersistentModelIndex>
#include <algorithm>

namespace {

// Notes name at most this many other rows; a longer list would not fit a tooltip.
constexpr int notedRows = 10;

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
    if (role == DuplicatesRole) {
        // Most rows repeat nothing: they give null rather than an empty map, which each of
        // their cells would turn into a script object.
        const QVariantMap rowNotes = notes(row);
        return rowNotes.isEmpty() ? QVariant::fromValue(nullptr) : QVariant(rowNotes);
    }
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
    repeatKeysValid = false;
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
            repeatKeysValid = false;
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
    foldedFilter.clear();
    ListText::appendFolded(foldedFilter, text.toStdString());
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

std::vector<int> ListFilterModel::columnKeyIndices() const
{
    std::vector<int> keys;
    for (const ColumnSchema::Column &column : ColumnSchema::columns())
        keys.push_back(source->keys().find(column.key));
    return keys;
}

std::string ListFilterModel::findText(int sourceRow, const std::vector<int> &keys) const
{
    // A separator no one types, so that a text never matches across two columns.
    std::string text;
    const ListRow &row = source->rows()[std::size_t(sourceRow)];
    const std::vector<ColumnSchema::Column> &columns = ColumnSchema::columns();
    for (std::size_t c = 0; c < keys.size(); ++c) {
        const int key = keys[c];
        const QByteArray *value = ListText::bytesOf(key < 0 ? nullptr : findValue(row, key));
        if (!value)
            continue;
        // As the table shows it: a step 6.0 as 6.
        if (columns[c].shown != ColumnSchema::Shown::AsStored)
            ListText::appendFolded(
                text,
                ColumnSchema::shownText(columns[c], ListText::fromUtf8(*value)).toStdString());
        else
            ListText::appendFolded(text, viewOf(*value));
        text += '\x1F';
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
    const std::vector<int> keys = columnKeyIndices();
    for (int row = 0; row < rows; ++row)
        findTexts.push_back(findText(row, keys));
    findTextsValid = true;
}

bool ListFilterModel::matches(int sourceRow) const
{
    if (foldedFilter.empty())
        return true;
    buildFindTexts();
    return findTexts[std::size_t(sourceRow)].find(foldedFilter) != std::string::npos;
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

// A new find text shows another set of rows. The view keeps the items it has and takes
// new contents into them: making a page of rows anew at every keystroke is what a user
// would feel in a long list.
void ListFilterModel::repick()
{
    std::vector<int> picked = pickRows();
    const std::size_t common = std::min(picked.size(), shown.size());
    if (picked.size() < shown.size()) {
        beginRemoveRows(QModelIndex(), int(common), int(shown.size()) - 1);
        shown.resize(common);
        endRemoveRows();
    }
    const auto differ = std::mismatch(shown.begin(), shown.end(), picked.begin());
    const int first = int(differ.first - shown.begin());
    std::copy(picked.begin(), picked.begin() + std::ptrdiff_t(common), shown.begin());
    if (first < int(common))
        emit dataChanged(index(first), index(int(common) - 1));
    if (picked.size() > common) {
        beginInsertRows(QModelIndex(), int(common), int(picked.size()) - 1);
        shown = std::move(picked);
        endInsertRows();
    }
}

void ListFilterModel::onDataChanged(const QModelIndex &first, const QModelIndex &last)
{
    const std::vector<int> keys = columnKeyIndices();
    for (int row = first.row(); findTextsValid && row <= last.row(); ++row)
        findTexts[std::size_t(row)] = findText(row, keys);
    updateRepeatKeys(first.row(), last.row());
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
        findTexts.insert(findTexts.begin() + first, std::size_t(added), std::string());
        const std::vector<int> keys = columnKeyIndices();
        for (int row = first; row <= last; ++row)
            findTexts[std::size_t(row)] = findText(row, keys);
    }
    if (repeatKeysValid)
        repeatKeys.insert(repeatKeys.begin() + first, std::size_t(added), {});
    updateRepeatKeys(first, last);
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
    findDuplicates(first, added);
}

void ListFilterModel::onRowsRemoved(int first, int last)
{
    const int removed = last - first + 1;
    if (findTextsValid)
        findTexts.erase(findTexts.begin() + first, findTexts.begin() + last + 1);
    if (repeatKeysValid)
        repeatKeys.erase(repeatKeys.begin() + first, repeatKeys.begin() + last + 1);
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
    findDuplicates(first, -removed);
}

// The list only moves its rows: with the sort hint, views keep their items and refresh them.
void ListFilterModel::onLayoutAboutToChange()
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Where each index kept on this model points in the list, to follow its row.
    layoutIndexes = persistentIndexList();
    sourceIndexes.clear();
    for (const QModelIndex &kept : layoutIndexes)
        sourceIndexes.append(QPersistentModelIndex(source->index(sourceRow(kept.row()))));
}

void ListFilterModel::onLayoutChanged()
{
    findTextsValid = false;
    repeatKeysValid = false;
    const std::size_t shownBefore = shown.size();
    shown = pickRows();
    QModelIndexList moved;
    for (const QPersistentModelIndex &kept : sourceIndexes) {
        const int row = kept.isValid() ? rowOf(kept.row()) : -1;
        moved.append(row < 0 ? QModelIndex() : index(row));
    }
    changePersistentIndexList(layoutIndexes, moved);
    layoutIndexes.clear();
    sourceIndexes.clear();
    // Views told of a sort keep as many rows as they had: when the find drops an edited row
    // on the way, they start anew instead.
    emit layoutChanged({}, shown.size() == shownBefore ? QAbstractItemModel::VerticalSortHint
                                                       : QAbstractItemModel::NoLayoutChangeHint);
    findDuplicates();
}

void ListFilterModel::findDuplicates(int first, int moved)
{
    if (!repeatKeysValid)
        updateRepeatKeys(0, source ? source->rowCount() - 1 : -1);
    ListDuplicates::Result found = ListDuplicates::find(repeatKeys);
    // Moved rows change the numbers their notes name even where the groups stay.
    if (found == duplicates && (moved == 0 || duplicates.groups.empty()))
        return;
    const int markedBefore = duplicates.markedRows;
    const auto now = [first, moved](int row) {
        return row < first ? row : moved < 0 && row < first - moved ? -1 : row + moved;
    };
    // Notes change only on rows marked before or now; each run of them is told apart, or
    // all rows at once when the runs are many.
    std::vector<bool> touched(std::size_t(source ? source->rowCount() : 0), false);
    for (const auto &group : duplicates.groups) {
        for (const int row : group) {
            if (std::size_t(now(row)) < touched.size())
                touched[std::size_t(now(row))] = true;
        }
    }
    for (const auto &group : found.groups) {
        for (const int row : group) {
            if (std::size_t(row) < touched.size())
                touched[std::size_t(row)] = true;
        }
    }
    duplicates = std::move(found);
    std::vector<std::pair<int, int>> runs;
    for (int row = 0; row < int(shown.size()); ++row) {
        if (!touched[std::size_t(shown[std::size_t(row)])])
            continue;
        if (!runs.empty() && runs.back().second == row - 1)
            runs.back().second = row;
        else
            runs.emplace_back(row, row);
    }
    if (runs.size() > 64)
        runs.assign(1, {0, int(shown.size()) - 1});
    for (const auto &run : runs)
        emit dataChanged(index(run.first), index(run.second), {DuplicatesRole});
    if (duplicates.markedRows != markedBefore)
        emit duplicateCountChanged();
}

// The rows from `first` to `last` anew; all rows when the keys are not kept yet.
void ListFilterModel::updateRepeatKeys(int first, int last)
{
    if (!source)
        return;
    const std::vector<int> keys = ListDuplicates::keyIndices(source->keys());
    if (!repeatKeysValid) {
        repeatKeys.resize(source->rows().size());
        first = 0;
        last = int(repeatKeys.size()) - 1;
        repeatKeysValid = true;
    }
    for (int row = first; row <= last; ++row)
        repeatKeys[std::size_t(row)] =
            ListDuplicates::rowKeys(source->rows()[std::size_t(row)], keys);
}

QVariantMap ListFilterModel::notes(int sourceRow) const
{
    return ListDuplicates::notes(duplicates, sourceRow, notedRows);
}
