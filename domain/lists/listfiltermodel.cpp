#include "listfiltermodel.h"

#include "columnschema.h"
#include "listtext.h"
#include "participantrules.h"
#include "textmetrics.h"

#include <algorithm>

namespace {

// Notes name at most this many other rows; a longer list would not fit a tooltip.
constexpr int notedRows = 10;

} // namespace

ListFilterModel::ListFilterModel(QObject *parent) : QSortFilterProxyModel(parent)
{
    // An edit keeps its row in sight; rows are picked again only when asked.
    setDynamicSortFilter(false);
    const auto counted = [this] {
        if (!refiltering)
            emit countChanged();
    };
    connect(this, &QAbstractItemModel::rowsInserted, this, counted);
    connect(this, &QAbstractItemModel::rowsRemoved, this, counted);
    connect(this, &QAbstractItemModel::modelReset, this, counted);
    connect(this, &QAbstractItemModel::layoutChanged, this, counted);
}

QVariant ListFilterModel::data(const QModelIndex &index, int role) const
{
    if (role != DuplicatesRole)
        return QSortFilterProxyModel::data(index, role);
    const int row = index.isValid() && index.model() == this ? mapToSource(index).row() : -1;
    if (row < 0)
        return QVariant();
    // Most rows repeat nothing: they give null rather than an empty map, which each of
    // their cells would turn into a script object.
    const QVariantMap rowNotes = notes(row);
    return rowNotes.isEmpty() ? QVariant::fromValue(nullptr) : QVariant(rowNotes);
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
    if (source) {
        for (const QMetaObject::Connection &connection : sourceConnections)
            disconnect(connection);
    }
    sourceConnections.clear();
    source = list;
    findTextsValid = false;
    repeatKeysValid = false;
    const auto watch = [this](auto signal, auto handler) {
        sourceConnections.append(connect(source, signal, this, handler));
    };
    if (source) {
        // The texts first, so that the proxy filters the rows it is told of by them.
        watch(&QAbstractItemModel::rowsInserted, [this](const QModelIndex &, int first, int last) {
            beforeRowsInserted(first, last);
        });
        watch(&QAbstractItemModel::rowsRemoved,
              [this](const QModelIndex &, int first, int last) { beforeRowsRemoved(first, last); });
        watch(&QAbstractItemModel::dataChanged,
              [this](const QModelIndex &first, const QModelIndex &last) {
                  beforeDataChanged(first.row(), last.row());
              });
        const auto forget = [this] {
            findTextsValid = false;
            repeatKeysValid = false;
        };
        watch(&QAbstractItemModel::modelReset, forget);
        watch(&QAbstractItemModel::layoutChanged, forget);
        // The proxy tells of a reorder without its kind, and views then make every row
        // anew; they are told here instead, and the proxy's own word is held back.
        watch(&QAbstractItemModel::layoutAboutToBeChanged, [this] {
            emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
            rowsBeforeLayout = rowCount();
            signalsWereBlocked = blockSignals(true);
        });
    }
    QSortFilterProxyModel::setSourceModel(list);
    if (source) {
        // Then the repeats, on the rows as the proxy now shows them.
        watch(&QAbstractItemModel::rowsInserted, [this](const QModelIndex &, int first, int last) {
            findDuplicates(first, last - first + 1);
        });
        watch(&QAbstractItemModel::rowsRemoved, [this](const QModelIndex &, int first, int last) {
            findDuplicates(first, first - last - 1);
        });
        watch(&QAbstractItemModel::dataChanged, [this] { findDuplicates(); });
        watch(&QAbstractItemModel::modelReset, [this] { findDuplicates(); });
        watch(&QAbstractItemModel::layoutChanged, [this] {
            blockSignals(signalsWereBlocked);
            // The list only moves its rows: with the sort hint, views keep their items and
            // refresh them; when the find drops an edited row on the way, they start anew.
            emit layoutChanged({}, rowCount() == rowsBeforeLayout
                                       ? QAbstractItemModel::VerticalSortHint
                                       : QAbstractItemModel::NoLayoutChangeHint);
            findDuplicates();
        });
    }
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
    const int before = rowCount();
    refiltering = true;
    invalidateFilter();
    refiltering = false;
    if (rowCount() != before)
        emit countChanged();
    emit filterTextChanged();
}

int ListFilterModel::sourceRow(int row) const
{
    return row >= 0 && row < rowCount() ? mapToSource(index(row)).row() : -1;
}

int ListFilterModel::rowOf(int sourceRow) const
{
    if (!source || sourceRow < 0 || sourceRow >= source->rowCount())
        return -1;
    return mapFromSource(source->index(sourceRow)).row();
}

bool ListFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    if (foldedFilter.empty())
        return true;
    buildFindTexts();
    return findTexts[std::size_t(sourceRow)].find(foldedFilter) != std::string::npos;
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
    if (findTextsValid || !source)
        return;
    const int rows = source->rowCount();
    findTexts.clear();
    findTexts.reserve(std::size_t(rows));
    const std::vector<int> keys = columnKeyIndices();
    for (int row = 0; row < rows; ++row)
        findTexts.push_back(findText(row, keys));
    findTextsValid = true;
}

void ListFilterModel::beforeDataChanged(int first, int last)
{
    const std::vector<int> keys = columnKeyIndices();
    for (int row = first; findTextsValid && row <= last; ++row)
        findTexts[std::size_t(row)] = findText(row, keys);
    updateRepeatKeys(first, last);
}

// Rows put back, by an undo or an import, show when they hold the find text.
void ListFilterModel::beforeRowsInserted(int first, int last)
{
    const std::size_t added = std::size_t(last - first + 1);
    if (findTextsValid) {
        findTexts.insert(findTexts.begin() + first, added, std::string());
        const std::vector<int> keys = columnKeyIndices();
        for (int row = first; row <= last; ++row)
            findTexts[std::size_t(row)] = findText(row, keys);
    }
    if (repeatKeysValid)
        repeatKeys.insert(repeatKeys.begin() + first, added, {});
    updateRepeatKeys(first, last);
}

void ListFilterModel::beforeRowsRemoved(int first, int last)
{
    if (findTextsValid)
        findTexts.erase(findTexts.begin() + first, findTexts.begin() + last + 1);
    if (repeatKeysValid)
        repeatKeys.erase(repeatKeys.begin() + first, repeatKeys.begin() + last + 1);
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
    const int shown = rowCount();
    for (int row = 0; row < shown; ++row) {
        if (!touched[std::size_t(sourceRow(row))])
            continue;
        if (!runs.empty() && runs.back().second == row - 1)
            runs.back().second = row;
        else
            runs.emplace_back(row, row);
    }
    if (runs.size() > 64)
        runs.assign(1, {0, shown - 1});
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

QVariantList ListFilterModel::textWidths(const QStringList &roles, int rows,
                                         const QFont &font) const
{
    const QHash<int, QByteArray> names = roleNames();
    const QFontMetricsF metrics(font);
    QVariantList widths;
    const int count = std::min(rows, rowCount());
    for (const QString &role : roles) {
        const int number = names.key(role.toUtf8(), -1);
        qreal widest = 0;
        for (int row = 0; number >= 0 && row < count; ++row) {
            const QVariant value = data(index(row), number);
            // As the cells show them: steps by their rule, nothing for a missing value.
            const QString text = role == QLatin1String("step") ? ParticipantRules::shownStep(value)
                                 : value.userType() == QMetaType::Nullptr ? QString()
                                                                          : value.toString();
            widest = std::max(widest, textAdvance(metrics, text));
        }
        widths.append(widest);
    }
    return widths;
}
