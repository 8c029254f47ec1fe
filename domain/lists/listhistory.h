#pragma once

#include "participantlistmodel.h"

#include <QObject>
#include <QPointer>
#include <memory>
#include <optional>
#include <vector>

// The undo and redo history of a list model. The pages change the list through it, so
// each change becomes one step; a save changes no rows and leaves the history alone.
//
// The list announces each of its changes itself: one that adds or replaces rows past the
// history, such as an import, becomes one step of it all the same; any other change that
// comes past it empties it, as its steps would no longer fit the rows.
class ListHistory : public QObject
{
    Q_OBJECT
    Q_PROPERTY(ParticipantListModel *list READ list WRITE setList NOTIFY listChanged)
    Q_PROPERTY(bool canUndo READ canUndo NOTIFY stepsChanged)
    Q_PROPERTY(bool canRedo READ canRedo NOTIFY stepsChanged)
    // The key the rows were last sorted by, empty when no sort stands, and its direction.
    Q_PROPERTY(QString sortKey READ sortKey NOTIFY sortChanged)
    Q_PROPERTY(bool sortDescending READ sortDescending NOTIFY sortChanged)
    // The file the rows came from, as far as loads and restores tell: taking a load back
    // brings back the path of the list before it, so a save does not write one list into
    // another's file.
    Q_PROPERTY(QString listPath READ listPath NOTIFY listPathChanged)

public:
    // Older steps are forgotten past this many, or once the rows that whole-row steps keep
    // add up to more than MaximumKeptRows.
    static constexpr int MaximumSteps = 200;
    static constexpr std::size_t MaximumKeptRows = 500000;

    explicit ListHistory(QObject *parent = nullptr);
    ~ListHistory() override;

    ParticipantListModel *list() const { return model; }
    void setList(ParticipantListModel *list);
    bool canUndo() const { return done > 0; }
    bool canRedo() const { return done < int(steps.size()); }
    QString sortKey() const { return sorted.key; }
    bool sortDescending() const { return sorted.descending; }
    QString listPath() const { return path; }

    // As the list's own methods, each one step; a change that changes nothing is none.
    Q_INVOKABLE bool editCell(int row, const QString &key, const QString &text);
    Q_INVOKABLE bool remove(int row);
    Q_INVOKABLE bool append(const QVariant &record);
    Q_INVOKABLE void clear();
    Q_INVOKABLE bool load(const QString &text);
    Q_INVOKABLE bool loadFile(const QString &path);
    // Sorts the list itself by `key`; false for a key that is no column.
    Q_INVOKABLE bool sort(const QString &key, bool descending);
    // A column title's click: ascending first, the other way round when sorted by it.
    Q_INVOKABLE bool sortBy(const QString &key);

    // As the list's loadUtf8(), one step; a `listPath` given says the rows now belong to
    // that file, or to none when it is empty.
    bool loadUtf8(const char *begin, const char *end, const QStringList &keyOrder,
                  const std::optional<QString> &listPath);
    // A save: the rows belong to that file now, without a step of their own.
    void setPath(const QString &value);

    Q_INVOKABLE bool undo();
    Q_INVOKABLE bool redo();
    Q_INVOKABLE void forget();

signals:
    void listChanged();
    void stepsChanged();
    void sortChanged();
    void listPathChanged();

private:
    struct SortState
    {
        QString key;
        bool descending = false;
    };
    struct Step
    {
        enum Kind { Edit, Insert, Remove, Order, Replace };
        explicit Step(Kind kind) : kind(kind) {}

        Kind kind;
        int row = -1;
        // Edit: the row before and after; Insert and Remove: the row that comes or goes.
        ListRow before, after;
        // Order: where each row came from.
        std::vector<int> order;
        // Replace: the rows the list does not hold now, before the step while it is done and
        // after it while it is undone; taking it back or again swaps them with the list's,
        // so no list is ever held twice.
        std::vector<ListRow> otherRows;
        SortState sortBefore, sortAfter;
        // Replace: the list file before and after the step.
        QString pathBefore, pathAfter;
    };

    void push(Step step);
    void apply(Step &step, bool forward);
    void setSorted(const SortState &state);
    void onListAboutToChange(ParticipantListModel::ListChange kind);
    void onListChanged();

    QPointer<ParticipantListModel> model;
    std::vector<Step> steps;
    // Steps before this one are done; later ones can be redone.
    int done = 0;
    SortState sorted;
    QString path;
    // Set while the history itself changes the list.
    int busy = 0;
    // The rows before a change that adds or replaces them, while it goes on.
    std::unique_ptr<std::vector<ListRow>> rowsBefore;
    // The file the rows of the change under way come from, when it says.
    std::optional<QString> changePath;
};
