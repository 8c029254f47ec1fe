#pragma once

#include "storage/filestamp.h"

#include <QObject>
#include <QString>
#include <map>

class ListHistory;
class ListImport;
class ParticipantListModel;

// Notices that another program, or another copy of this one on this computer or another,
// changed the list file after the editing page loaded or saved it, so that a save does not
// silently write over their work.
//
// At every load and save it keeps the file's identity, size, modification time and a
// digest of its bytes; a save first compares them with the file on disk. What remains is
// the moment between that comparison and the write itself.
class ListFileWatch : public QObject
{
    Q_OBJECT
    // A save found the file changed and wrote nothing; the page offers to merge, to write
    // anyway or to leave it.
    Q_PROPERTY(bool changed READ changed NOTIFY changedChanged)
    // The file that save was for.
    Q_PROPERTY(QString changedPath READ changedPath NOTIFY changedChanged)

public:
    // Results of save(): SafeSave's codes and one of its own.
    enum Result {
        Ok = 0,
        CannotOpen = 2,
        WriteFailed = 3,
        // The file changed on disk since it was last loaded or saved here: nothing written.
        ChangedOnDisk = 6,
    };
    Q_ENUM(Result)

    explicit ListFileWatch(QObject *parent = nullptr) : QObject(parent) {}

    bool changed() const { return !changedFile.isEmpty(); }
    QString changedPath() const { return changedFile; }

    // Loads `path` through the history, as one step, and keeps the file's stamp.
    Q_INVOKABLE bool load(ListHistory *history, const QString &path);
    // Writes the model's list to `path` unless the file there changed since this page last
    // loaded or saved it; `overwrite` writes all the same.
    Q_INVOKABLE int save(ParticipantListModel *model, const QString &path, bool overwrite = false);
    // "Объединить": the changed file, for the import preview to open.
    Q_INVOKABLE QString beginMerge();
    // The preview of a merge has closed, its records taken into the list when `import` is
    // given. A save then builds on the file as the import read it, and finds it changed
    // only if it changed after that. True when the save should follow.
    Q_INVOKABLE bool endMerge(ListImport *import);
    // The operator left the changed file as it is.
    Q_INVOKABLE void dismiss();

    // Whether the file at `path` differs from what this page last read or wrote there; a
    // file never loaded or saved here, or one that is gone, does not.
    bool changedOnDisk(const QString &path) const;

signals:
    void changedChanged();

private:
    static QString keyOf(const QString &path);
    void setChanged(const QString &path);

    std::map<QString, FileStamp> stamps;
    QString changedFile;
    QString mergedFile;
};
