#pragma once

#include "listduplicates.h"
#include "participantlistmodel.h"

#include <QPointer>
#include <QSortFilterProxyModel>
#include <string>
#include <vector>

// The editing table's view of a list: the rows that hold the find text, each with notes on
// the other rows it repeats. Edits and deletes go to the list by sourceRow(); the list
// itself keeps every row, so a save writes them all. It only hides rows: the order is the
// list's own.
//
// Rows are picked when the find text changes and when the list is loaded or reordered; an
// edit keeps its row in sight even when it no longer holds the text.
class ListFilterModel : public QSortFilterProxyModel
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

    using QSortFilterProxyModel::index;
    QModelIndex index(int row) const { return index(row, 0); }
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    ParticipantListModel *list() const { return source; }
    void setList(ParticipantListModel *list);
    QString filterText() const { return filter; }
    void setFilterText(const QString &text);
    int count() const { return rowCount(); }
    int duplicateCount() const { return duplicates.markedRows; }

    // The list's row shown at `row`, or -1.
    Q_INVOKABLE int sourceRow(int row) const;
    // The shown row of the list's row `sourceRow`, or -1 when it is not shown.
    Q_INVOKABLE int rowOf(int sourceRow) const;
    // For each of `roles`, the widest text the table shows for it in its first `rows` rows,
    // as `font` sets it: what the columns fit, without making a cell for any row.
    Q_INVOKABLE QVariantList textWidths(const QStringList &roles, int rows,
                                        const QFont &font) const;

signals:
    void listChanged();
    void filterTextChanged();
    void countChanged();
    void duplicateCountChanged();

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    // The list's keys of the table's columns, in column order; -1 for keys not met yet.
    std::vector<int> columnKeyIndices() const;
    std::string findText(int sourceRow, const std::vector<int> &keys) const;
    void buildFindTexts() const;
    QVariantMap notes(int sourceRow) const;
    // Kept in step with the list before the proxy sees its change, so the proxy filters
    // new rows by their texts.
    void beforeRowsInserted(int first, int last);
    void beforeRowsRemoved(int first, int last);
    void beforeDataChanged(int first, int last);
    // After rows from `first` on moved by `moved` (less than 0 for rows taken out there), the
    // groups found before are counted as the rows are now.
    void findDuplicates(int first = 0, int moved = 0);
    void updateRepeatKeys(int first, int last);

    QPointer<ParticipantListModel> source;
    QList<QMetaObject::Connection> sourceConnections;
    QString filter;
    // Folded, as filterAcceptsRow() compares.
    std::string foldedFilter;
    // Per list row, its columns' texts folded into one; built when a find text first needs
    // them.
    mutable std::vector<std::string> findTexts;
    mutable bool findTextsValid = false;
    // Per list row, what makes it the same as another, kept like the find texts.
    std::vector<ListDuplicates::RowKeys> repeatKeys;
    bool repeatKeysValid = false;
    ListDuplicates::Result duplicates;
    // Across a reorder of the list.
    int rowsBeforeLayout = 0;
    bool signalsWereBlocked = false;
    // While the find text changes, its many row changes make one count change.
    bool refiltering = false;
};
