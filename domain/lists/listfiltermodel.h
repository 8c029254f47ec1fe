#pragma once

#include "listduplicates.h"
#include "participantlistmodel.h"

#include <QAbstractListModel>
#include <QPersistentModelIndex>
#include <QPointer>
#include <string>
#include <vector>

// The editing table's view of a list: the rows that hold the find text, each with notes on
// the other rows it repeats. Edits and deletes go to the list by sourceRow(); the list
// itself keeps every row, so a save writes them all.
//
// Rows are picked when the find text changes and when the list is loaded or reordered; an
// edit keeps its row in sight even when it no longer holds the text.
class ListFilterModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(ParticipantListModel *list READ list WRITE setList NOTIFY listChanged)
    Q_PROPERTY(QString filterText READ filterText WRITE setFilterText NOTIFY filterTextChanged)
    Q_PROPERTY(int count READ count NOTIFY countChanged)
    // Rows that repeat another one in some way.
    Q_PROPERTY(int duplicateCount READ duplicateCount NOTIFY duplicateCountChanged)

public:
    // Beside the list's roles: a map from a column's key to the note on its repeats.
    enum { DuplicatesRole = ParticipantListModel::IsGtoRole + 1 };

    explicit ListFilterModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    ParticipantListModel *list() const { return source; }
    void setList(ParticipantListModel *list);
    QString filterText() const { return filter; }
    void setFilterText(const QString &text);
    int count() const { return int(shown.size()); }
    int duplicateCount() const { return duplicates.markedRows; }

    // The list's row shown at `row`, or -1.
    Q_INVOKABLE int sourceRow(int row) const;
    // The shown row of the list's row `sourceRow`, or -1 when it is not shown.
    Q_INVOKABLE int rowOf(int sourceRow) const;

signals:
    void listChanged();
    void filterTextChanged();
    void countChanged();
    void duplicateCountChanged();

private:
    bool matches(int sourceRow) const;
    // The list's keys of the table's columns, in column order; -1 for keys not met yet.
    std::vector<int> columnKeyIndices() const;
    std::string findText(int sourceRow, const std::vector<int> &keys) const;
    void buildFindTexts() const;
    std::vector<int> pickRows() const;
    QVariantMap notes(int sourceRow) const;
    void repick();
    void onDataChanged(const QModelIndex &first, const QModelIndex &last);
    void onRowsInserted(int first, int last);
    void onRowsRemoved(int first, int last);
    void onLayoutAboutToChange();
    void onLayoutChanged();
    // After rows from `first` on moved by `moved` (less than 0 for rows taken out there), the
    // groups found before are counted as the rows are now.
    void findDuplicates(int first = 0, int moved = 0);
    void updateRepeatKeys(int first, int last);

    QPointer<ParticipantListModel> source;
    QString filter;
    // Folded, as matches() compares.
    std::string foldedFilter;
    // The list's rows in sight, in list order.
    std::vector<int> shown;
    // Per list row, its columns' texts folded into one; built when a find text first needs
    // them.
    mutable std::vector<std::string> findTexts;
    mutable bool findTextsValid = false;
    // Per list row, what makes it the same as another, kept like the find texts.
    std::vector<ListDuplicates::RowKeys> repeatKeys;
    bool repeatKeysValid = false;
    ListDuplicates::Result duplicates;
    QModelIndexList layoutIndexes;
    QList<QPersistentModelIndex> sourceIndexes;
};
