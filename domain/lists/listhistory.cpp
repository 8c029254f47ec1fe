#include "listhistory.h"

#include "columnschema.h"
#include "listsort.h"

#include <algorithm>

namespace {

bool sameRow(const ListRow &a, const ListRow &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const ListField &x, const ListField &y) {
                          return x.key == y.key && x.value == y.value;
                      });
}

} // namespace

ListHistory::ListHistory(QObject *parent) : QObject(parent) {}

ListHistory::~ListHistory() = default;

void ListHistory::setList(ParticipantListModel *list)
{
    if (model == list)
        return;
    if (model)
        disconnect(model, nullptr, this, nullptr);
    model = list;
    if (model) {
        connect(model, &ParticipantListModel::listAboutToChange, this,
                &ListHistory::onListAboutToChange);
        connect(model, &ParticipantListModel::listChanged, this, &ListHistory::onListChanged);
    }
    forget();
    emit listChanged();
}

void ListHistory::onListAboutToChange(ParticipantListModel::ListChange kind)
{
    if (busy == 0 &&
        (kind == ParticipantListModel::RowsAdded || kind == ParticipantListModel::RowsReplaced))
        rowsBefore = std::make_unique<std::vector<ListRow>>(model->rows());
}

void ListHistory::onListChanged()
{
    if (busy > 0)
        return;
    if (!rowsBefore) {
        forget();
        return;
    }
    Step step(Step::Replace);
    step.otherRows = std::move(*rowsBefore);
    rowsBefore.reset();
    step.pathBefore = path;
    step.pathAfter = changePath.value_or(path);
    setPath(step.pathAfter);
    // New rows stand in no order yet.
    step.sortBefore = sorted;
    setSorted(SortState());
    push(std::move(step));
}

void ListHistory::forget()
{
    const bool hadSteps = !steps.empty();
    steps.clear();
    done = 0;
    setSorted(SortState());
    if (hadSteps)
        emit stepsChanged();
}

void ListHistory::push(Step step)
{
    steps.erase(steps.begin() + done, steps.end());
    steps.push_back(std::move(step));
    const auto keptRows = [this] {
        std::size_t rows = 0;
        for (const Step &kept : steps)
            rows += kept.otherRows.size();
        return rows;
    };
    while (steps.size() > 1 &&
           (steps.size() > std::size_t(MaximumSteps) || keptRows() > MaximumKeptRows))
        steps.erase(steps.begin());
    done = int(steps.size());
    emit stepsChanged();
}

void ListHistory::setPath(const QString &value)
{
    if (path == value)
        return;
    path = value;
    emit listPathChanged();
}

void ListHistory::setSorted(const SortState &state)
{
    if (state.key == sorted.key && state.descending == sorted.descending)
        return;
    sorted = state;
    emit sortChanged();
}

bool ListHistory::editCell(int row, const QString &key, const QString &text)
{
    if (!model || row < 0 || row >= model->rowCount())
        return false;
    Step step(Step::Edit);
    step.row = row;
    step.before = model->rows()[std::size_t(row)];
    ++busy;
    const bool edited = model->editCell(row, key, text);
    --busy;
    step.after = model->rows()[std::size_t(row)];
    if (edited && !sameRow(step.after, step.before)) {
        step.sortBefore = step.sortAfter = sorted;
        push(std::move(step));
    }
    return edited;
}

bool ListHistory::remove(int row)
{
    if (!model || row < 0 || row >= model->rowCount())
        return false;
    Step step(Step::Remove);
    step.row = row;
    step.before = model->rows()[std::size_t(row)];
    step.sortBefore = step.sortAfter = sorted;
    ++busy;
    model->remove(row);
    --busy;
    push(std::move(step));
    return true;
}

bool ListHistory::append(const QVariant &record)
{
    if (!model)
        return false;
    ++busy;
    const bool appended = model->append(record);
    --busy;
    if (!appended)
        return false;
    Step step(Step::Insert);
    step.row = model->rowCount() - 1;
    step.after = model->rows().back();
    step.sortBefore = step.sortAfter = sorted;
    push(std::move(step));
    return true;
}

void ListHistory::clear()
{
    if (model)
        model->clear();
}

bool ListHistory::load(const QString &text)
{
    return model && model->load(text);
}

bool ListHistory::loadFile(const QString &listPath)
{
    if (!model)
        return false;
    changePath = listPath;
    const bool loaded = model->loadFile(listPath);
    changePath.reset();
    return loaded;
}

bool ListHistory::loadUtf8(const char *begin, const char *end, const QStringList &keyOrder,
                           const std::optional<QString> &listPath)
{
    if (!model)
        return false;
    changePath = listPath;
    const bool loaded = model->loadUtf8(begin, end, keyOrder);
    changePath.reset();
    return loaded;
}

bool ListHistory::sort(const QString &key, bool descending)
{
    const ColumnSchema::Column *column = ColumnSchema::find(key.toStdString());
    if (!model || !column)
        return false;
    Step step(Step::Order);
    step.order =
        ListSort::order(model->rows(), model->keys().find(column->key), column->sort, descending);
    step.sortBefore = sorted;
    step.sortAfter = SortState{key, descending};
    ++busy;
    model->reorderRows(step.order);
    --busy;
    setSorted(step.sortAfter);
    push(std::move(step));
    return true;
}

bool ListHistory::sortBy(const QString &key)
{
    return sort(key, sorted.key == key && !sorted.descending);
}

bool ListHistory::undo()
{
    if (!canUndo())
        return false;
    --done;
    apply(steps[std::size_t(done)], false);
    emit stepsChanged();
    return true;
}

bool ListHistory::redo()
{
    if (!canRedo())
        return false;
    apply(steps[std::size_t(done)], true);
    ++done;
    emit stepsChanged();
    return true;
}

void ListHistory::apply(Step &step, bool forward)
{
    ++busy;
    switch (step.kind) {
    case Step::Edit:
        model->replaceListRow(step.row, forward ? step.after : step.before);
        break;
    case Step::Insert:
    case Step::Remove:
        if ((step.kind == Step::Insert) == forward)
            model->insertListRow(step.row, step.kind == Step::Insert ? step.after : step.before);
        else
            model->remove(step.row);
        break;
    case Step::Order:
        if (forward) {
            model->reorderRows(step.order);
        } else {
            std::vector<int> back(step.order.size());
            for (std::size_t i = 0; i < step.order.size(); ++i)
                back[std::size_t(step.order[i])] = int(i);
            model->reorderRows(back);
        }
        break;
    case Step::Replace:
        model->swapListRows(step.otherRows);
        setPath(forward ? step.pathAfter : step.pathBefore);
        break;
    }
    --busy;
    setSorted(forward ? step.sortAfter : step.sortBefore);
}
