#pragma once

#include <QAbstractListModel>
#include <string>
#include <unordered_map>
#include <vector>

// The rows of a participant list as loaded from a list file, for the editing table.
//
// Every value keeps the JSON type it was loaded with, so a list written back holds what
// was read, whatever other tools put into it. Keys share one order across the model: the
// order in which they were first met since the model was created, in loads and in edits.
class ParticipantListModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(int count READ rowCount NOTIFY countChanged)

public:
    // The table's columns plus isGto, which has no column but tells the kind of record.
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

    explicit ParticipantListModel(QObject *parent = nullptr);
    ~ParticipantListModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    // Strings and booleans as such, null as null; numbers, arrays and objects as their
    // JSON text (numbers as spelled in the file); a key the row lacks gives an invalid variant.
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Replaces the rows with the objects of the JSON array `text`. Anything that is not a
    // JSON array leaves the model as it was and gives false.
    Q_INVOKABLE bool load(const QString &text);
    // The rows as a compact JSON array, strings escaped as ECMAScript's JSON.stringify
    // does; an empty string only when the text could not be built.
    Q_INVOKABLE QString toJson() const;
    // Sets the row's value for `key` to the string `text`; false for a row that does not
    // exist.
    Q_INVOKABLE bool setValue(int row, const QString &key, const QString &text);
    Q_INVOKABLE bool remove(int row);

    struct Value
    {
        enum class Type : unsigned char { Absent, String, Number, Boolean, Null, Array, Object };
        Type type = Type::Absent;
        bool boolean = false;
        // A string's own text, or the JSON text of a number, array or object; UTF-8.
        std::string text;
    };
    // Values by key index; keys past the end are absent.
    using Row = std::vector<Value>;

    // The key order that the model has met so far.
    struct Keys
    {
        std::vector<std::string> names;
        // Each name already escaped and followed by ':' for the writer.
        std::vector<std::string> prefixes;
        std::unordered_map<std::string, int> indexOf;

        int intern(const std::string &name);
    };

signals:
    void countChanged();

private:
    int keyOfRole(int role) const;
    void updateRoleKeys();

    std::vector<Row> rows;
    Keys keys;
    // Key index of each role, -1 while that key has not been met.
    std::vector<int> roleKeys;
};
