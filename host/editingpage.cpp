#include "editingpage.h"

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
    }
    emit tableChanged();
    emit statusTextChanged();
}

QString EditingPage::statusText() const
{
    QString text = QStringLiteral("Записей: %1").arg(listModel ? listModel->rowCount() : 0);
    if (shownRows && !shownRows->filterText().isEmpty())
        text += QStringLiteral(", показано %1").arg(shownRows->count());
    return text + QStringLiteral(". Повторов: %1").arg(shownRows ? shownRows->duplicateCount() : 0);
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
