#pragma once

#include "listrows.h"

#include <QAbstractListModel>
#include <vector>

// The rows of a participant list, for the editing table and the creation page's list.
//
// Every value keeps the JSON type it was loaded with, so a list written back holds what
// was read, whatever other tools put into it. Keys share one order across the model: the
// order in which they were first met since the model was created, in loads and in edits.
class ParticipantListModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(int count READ rowCount NOTIFY countChanged)
    Q_PROPERTY(KeyOrder keyOrder READ keyOrder WRITE setKeyOrder NOTIFY keyOrderChanged)
    // Why the last load failed, one line for the operator; empty after a load that worked.
    Q_PROPERTY(QString loadError READ loadError NOTIFY loadErrorChanged)

public:
    // A role per column of ColumnSchema plus isGto, which has no column but tells the kind
    // of record. The names are those of the program's own columns.
    enum Role {
        NameRole = Qt::UserRole + 1,
        BirthDateRole,
        GroupRole,
        OrganizationRole,
        GtoUuidRole,
        SexRole,
        StepRole,
        PectoralNumberRole,
        AthleticRankRole,
        IsGtoRole,
    };

    // How toJson() orders each row's keys.
    enum KeyOrder {
        // The model's order of first meeting, as the editing page writes.
        FirstMetOrder,
        // Each record's own order, as the creation page writes.
        RecordOrder,
    };
    Q_ENUM(KeyOrder)

    // What a change did to the list, as listAboutToChange() and listChanged() tell it.
    enum ListChange {
        // Values of one row.
        RowEdited,
        RowsAdded,
        RowRemoved,
        RowsReordered,
        // Every row at once: a load, a clear, a replace, a step of the history.
        RowsReplaced,
    };
    Q_ENUM(ListChange)

    explicit ParticipantListModel(QObject *parent = nullptr);
    ~ParticipantListModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    // Strings and booleans as such, null as null; numbers, arrays and objects as their
    // JSON text (numbers as spelled in the file); a key the row lacks gives an invalid variant.
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    KeyOrder keyOrder() const { return order; }
    void setKeyOrder(KeyOrder keyOrder);

    QString loadError() const { return lastLoadError; }

    // Replaces the rows with the objects of the JSON array `text`. Anything that is not a
    // JSON array leaves the model as it was and gives false.
    Q_INVOKABLE bool load(const QString &text);
    // As load(), with the bytes of the file at `path` up to a NUL byte, which must be
    // UTF-8; a leading byte order mark is dropped.
    Q_INVOKABLE bool loadFile(const QString &path);
    // As load(), with UTF-8 text, meeting the names of `keyOrder` first and in that order,
    // so that a table taken up again writes its keys as the table it was taken from.
    bool loadUtf8(const char *begin, const char *end, const QStringList &keyOrder = QStringList());
    // The rows as a compact JSON array, strings escaped as ECMAScript's JSON.stringify
    // does; an empty string only when the text could not be built.
    Q_INVOKABLE QString toJson() const;
    // The same as UTF-8, as a file holds it; empty only when it could not be built.
    QByteArray listText() const;
    // Writes the list to `path` as FileIO.save writes a text, straight from the rows: a list
    // of many thousands of rows makes no round trip through the script engine.
    Q_INVOKABLE int saveFile(const QString &path) const;
    // Sets the row's value for `key` to the string `text`; false for a row that does not
    // exist.
    Q_INVOKABLE bool setValue(int row, const QString &key, const QString &text);
    // A cell edit of the table: as setValue(), and a new birth date sets the step too.
    Q_INVOKABLE bool editCell(int row, const QString &key, const QString &text);
    Q_INVOKABLE bool remove(int row);
    // Appends a record made by ParticipantRules; false for anything else.
    Q_INVOKABLE bool append(const QVariant &record);
    Q_INVOKABLE void clear();

    void append(const ParticipantRecord &record);
    // An import's two ways into the list, each one change of the model.
    void appendRecords(const std::vector<ParticipantRecord> &records);
    // As a load: the rows go, the key order stays.
    void replaceRecords(const std::vector<ParticipantRecord> &records);
    const std::vector<ListRow> &rows() const { return listRows; }
    const KeyTable &keys() const { return keyTable; }

    // Whole-row changes, for the edit history. Key indices stay valid across them: the key
    // table only grows, so rows taken out earlier can be put back as they were.
    void swapListRows(std::vector<ListRow> &rows);
    void replaceListRow(int row, ListRow values);
    void insertListRow(int row, ListRow values);
    // The row now at order[i] moves to i; `order` must hold every row number once.
    void reorderRows(const std::vector<int> &order);
    // The rows, counted from 0, whose value of `key` is `text`, both trimmed.
    Q_INVOKABLE QVariantList rowsWith(const QString &key, const QString &text) const;
    // The same as the creation page words it: "запись 3", "записи 3, 5"; empty for none.
    Q_INVOKABLE QString rowsWithText(const QString &key, const QString &text) const;

signals:
    void countChanged();
    // Around every change of the rows, in pairs, whoever asked for it: the observers of the
    // list (its history, its recovery, the creation page's copy) need no other signal.
    void listAboutToChange(ParticipantListModel::ListChange kind);
    void listChanged(ParticipantListModel::ListChange kind);
    void keyOrderChanged();
    void loadErrorChanged();

private:
    int keyOfRole(int role) const;
    ListRow rowOf(const ParticipantRecord &record);
    void updateRoleKeys();
    void emitRowChanged(int row, int key);
    bool failLoad(const QString &reason);

    std::vector<ListRow> listRows;
    KeyTable keyTable;
    KeyOrder order = FirstMetOrder;
    QString lastLoadError;
    const std::vector<std::string> roleKeyNames;
    // Key index of each role, -1 while that key has not been met.
    std::vector<int> roleKeys;
};
