#pragma once

#include "listfiltermodel.h"
#include "listpage.h"

// The editing page: loads through the history, so that a load is a step and brings its
// path, and words the status line under the table.
class EditingPage : public ListPage
{
    Q_OBJECT
    // The rows the table shows.
    Q_PROPERTY(ListFilterModel *table READ table WRITE setTable NOTIFY tableChanged)
    // "Записей: 12, показано 3. Повторов: 2".
    Q_PROPERTY(QString statusText READ statusText NOTIFY statusTextChanged)

public:
    using ListPage::ListPage;

    ListFilterModel *table() const { return shownRows; }
    void setTable(ListFilterModel *table);
    QString statusText() const;

    // Replaces the list with the file's; a file that is no list leaves it as it was, and the
    // list's loadError says why.
    Q_INVOKABLE bool load(const QString &path);

signals:
    void tableChanged();
    void statusTextChanged();

protected:
    void listContentChanged() override { emit statusTextChanged(); }

private:
    QPointer<ListFilterModel> shownRows;
};
