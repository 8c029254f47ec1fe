#pragma once

#include "listfilewatch.h"
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
    // Followed by the notes on the current row's repeats, while it has some.
    Q_PROPERTY(QString statusText READ statusText NOTIFY statusTextChanged)
    // The table's row that has the current cell, as shown; -1 for none.
    Q_PROPERTY(int currentRow READ currentRow WRITE setCurrentRow NOTIFY currentRowChanged)
    // Tells a save that another desk or program changed the list file since its load.
    Q_PROPERTY(ListFileWatch *fileWatch READ fileWatch CONSTANT)

public:
    using ListPage::ListPage;

    ListFilterModel *table() const { return shownRows; }
    void setTable(ListFilterModel *table);
    QString statusText() const;
    int currentRow() const { return current; }
    void setCurrentRow(int row);
    ListFileWatch *fileWatch() { return &watch; }

    // Replaces the list with the file's; a file that is no list leaves it as it was, and the
    // list's loadError says why.
    Q_INVOKABLE bool load(const QString &path);
    // As save(); a save finds the file changed by another writer and writes nothing
    // (ListFileWatch::ChangedOnDisk), where this writes over it all the same.
    Q_INVOKABLE int overwrite(const QString &path);

signals:
    void tableChanged();
    void statusTextChanged();
    void currentRowChanged();

protected:
    void listContentChanged() override { emit statusTextChanged(); }
    int write(const QString &path) override;

private:
    QPointer<ListFilterModel> shownRows;
    ListFileWatch watch{this};
    bool overwriting = false;
    int current = -1;
};
