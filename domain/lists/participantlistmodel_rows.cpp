#include "participantlistmodel.h"

#include "listduplicates.h"

#include <climits>

void ParticipantListModel::swapListRows(std::vector<ListRow> &rows)
{
    const bool countChanges = rows.size() != listRows.size();
    emit listAboutToChange(RowsReplaced);
    beginResetModel();
    listRows.swap(rows);
    endResetModel();
    if (countChanges)
        emit countChanged();
    emit listChanged(RowsReplaced);
}

void ParticipantListModel::replaceListRow(int row, ListRow values)
{
    if (row < 0 || std::size_t(row) >= listRows.size())
        return;
    emit listAboutToChange(RowEdited);
    listRows[std::size_t(row)] = std::move(values);
    emit dataChanged(index(row), index(row));
    emit listChanged(RowEdited);
}

void ParticipantListModel::insertListRow(int row, ListRow values)
{
    if (row < 0 || std::size_t(row) > listRows.size())
        return;
    emit listAboutToChange(RowsAdded);
    beginInsertRows(QModelIndex(), row, row);
    listRows.insert(listRows.begin() + row, std::move(values));
    endInsertRows();
    emit countChanged();
    emit listChanged(RowsAdded);
}

void ParticipantListModel::reorderRows(const std::vector<int> &order)
{
    const int count = int(listRows.size());
    if (int(order.size()) != count)
        return;
    std::vector<int> newPlace(std::size_t(count), -1);
    for (int i = 0; i < count; ++i) {
        const int from = order[std::size_t(i)];
        if (from < 0 || from >= count || newPlace[std::size_t(from)] >= 0)
            return;
        newPlace[std::size_t(from)] = i;
    }
    emit listAboutToChange(RowsReordered);
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<ListRow> sorted;
    sorted.reserve(listRows.size());
    for (const int from : order)
        sorted.push_back(std::move(listRows[std::size_t(from)]));
    listRows.swap(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &old : before)
        after.append(index(newPlace[std::size_t(old.row())], old.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    emit listChanged(RowsReordered);
}

QVariantList ParticipantListModel::rowsWith(const QString &key, const QString &text) const
{
    QVariantList found;
    for (const int row : ListDuplicates::rowsWith(listRows, keyTable.find(key.toStdString()), text))
        found.append(row);
    return found;
}

QString ParticipantListModel::rowsWithText(const QString &key, const QString &text) const
{
    const std::vector<int> rows =
        ListDuplicates::rowsWith(listRows, keyTable.find(key.toStdString()), text);
    return rows.empty() ? QString() : ListDuplicates::rowList(rows, -1, INT_MAX);
}
