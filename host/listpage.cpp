#include "listpage.h"

#include "storage/safesave.h"

void ListPage::setList(ParticipantListModel *list)
{
    if (listModel == list)
        return;
    if (listModel)
        disconnect(listModel, nullptr, this, nullptr);
    listModel = list;
    if (list)
        connect(list, &ParticipantListModel::listChanged, this, &ListPage::listContentChanged);
    listContentChanged();
    emit listChanged();
}

void ListPage::setHistory(ListHistory *history)
{
    if (listHistory == history)
        return;
    listHistory = history;
    emit historyChanged();
}

void ListPage::setRecovery(PageRecovery *recovery)
{
    if (pageRecovery == recovery)
        return;
    pageRecovery = recovery;
    emit recoveryChanged();
}

int ListPage::save(const QString &path)
{
    if (!listModel)
        return SafeSave::WriteFailed;
    const int result = write(path);
    if (result == 0 && pageRecovery)
        pageRecovery->markClean(path);
    return result;
}

int ListPage::write(const QString &path)
{
    return listModel->saveFile(path);
}
