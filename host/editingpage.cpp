#include "editingpage.h"

#include <QStringList>

void EditingPage::setTable(ListFilterModel *table)
{
    if (shownRows == table)
        return;
    if (shownRows)
        disconnect(shownRows, nullptr, this, nullptr);
    shownRows = table;
    if (table) {
        for (const auto signal :
             {&ListFilterModel::countChanged, &ListFilterModel::filterTextChanged,
              &ListFilterModel::duplicateCountChanged})
            connect(table, signal, this, &EditingPage::statusTextChanged);
        // The current row's notes change with any row that it repeats.
        connect(table, &QAbstractItemModel::dataChanged, this, &EditingPage::statusTextChanged);
        connect(table, &QAbstractItemModel::modelReset, this, &EditingPage::statusTextChanged);
        connect(table, &QAbstractItemModel::layoutChanged, this, &EditingPage::statusTextChanged);
    }
    emit tableChanged();
    emit statusTextChanged();
}

QString EditingPage::statusText() const
{
    QString text = QStringLiteral("Записей: %1").arg(listModel ? listModel->rowCount() : 0);
    if (shownRows && !shownRows->filterText().isEmpty())
        text += QStringLiteral(", показано %1").arg(shownRows->count());
    text += QStringLiteral(". Повторов: %1").arg(shownRows ? shownRows->duplicateCount() : 0);
    if (!shownRows || current < 0 || current >= shownRows->count())
        return text;
    // A person's note stands in two columns; it is said once.
    QStringList notes;
    const QVariantMap byKey =
        shownRows->index(current).data(ListFilterModel::DuplicatesRole).toMap();
    for (const QVariant &note : byKey) {
        if (!notes.contains(note.toString()))
            notes.append(note.toString());
    }
    if (notes.isEmpty())
        return text;
    return text + QStringLiteral(". Запись %1: %2")
                      .arg(QString::number(shownRows->sourceRow(current) + 1),
                           notes.join(QStringLiteral("; ")));
}

void EditingPage::setCurrentRow(int row)
{
    if (row == current)
        return;
    current = row;
    emit currentRowChanged();
    emit statusTextChanged();
}

bool EditingPage::load(const QString &path)
{
    if (!listHistory || !watch.load(listHistory, path))
        return false;
    if (pageRecovery)
        pageRecovery->markClean(path);
    return true;
}

int EditingPage::overwrite(const QString &path)
{
    overwriting = true;
    const int result = save(path);
    overwriting = false;
    return result;
}

int EditingPage::write(const QString &path)
{
    return watch.save(listModel, path, overwriting);
}
