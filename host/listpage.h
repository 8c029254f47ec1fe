#pragma once

#include "listhistory.h"
#include "pagerecovery.h"
#include "participantlistmodel.h"

#include <QObject>
#include <QPointer>

// What both pages do with their list: the model, its history and its recovery are the
// page's objects; this ties them together, so that the view holds no rule of its own. The
// list's path is the history's, which its steps bring back.
class ListPage : public QObject
{
    Q_OBJECT
    Q_PROPERTY(ParticipantListModel *list READ list WRITE setList NOTIFY listChanged)
    Q_PROPERTY(ListHistory *history READ history WRITE setHistory NOTIFY historyChanged)
    Q_PROPERTY(PageRecovery *recovery READ recovery WRITE setRecovery NOTIFY recoveryChanged)

public:
    using QObject::QObject;

    ParticipantListModel *list() const { return listModel; }
    void setList(ParticipantListModel *list);
    ListHistory *history() const { return listHistory; }
    void setHistory(ListHistory *history);
    PageRecovery *recovery() const { return pageRecovery; }
    void setRecovery(PageRecovery *recovery);

    // Writes the list to `path`; a list written is clean, and belongs to that file from
    // now on. The result is FileIO.save's.
    Q_INVOKABLE int save(const QString &path);

signals:
    void listChanged();
    void historyChanged();
    void recoveryChanged();

protected:
    // Any change of the list, or another list: what the page words about it may differ.
    virtual void listContentChanged() {}
    // The write of save(): the list's bytes to `path`, as FileIO.save writes a text.
    virtual int write(const QString &path);

    QPointer<ParticipantListModel> listModel;
    QPointer<ListHistory> listHistory;
    QPointer<PageRecovery> pageRecovery;
};
