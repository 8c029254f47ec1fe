#pragma once

#include "storage/filestamp.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <vector>

// Whether a save or an export would replace a file the operator may not mean to lose, and
// the question to ask first. Each page or export keeps its own: a file that one wrote
// itself in this run is saved over without a question.
class SaveTarget : public QObject
{
    Q_OBJECT

public:
    explicit SaveTarget(QObject *parent = nullptr) : QObject(parent) {}

    // "Файл «имя» уже существует. Заменить его?", with a second line for a participant list
    // that tells its number of records; empty when no file is there, or when this object
    // wrote the one there, or when it is one of the files `kept`, which the write itself
    // refuses. `target` is a path or a file URL.
    Q_INVOKABLE QString question(const QString &target,
                                 const QStringList &kept = QStringList()) const;
    // The file now at `target` is one this object wrote.
    Q_INVOKABLE void written(const QString &target);

    static QString localPath(const QString &target);
    // A file larger than this is not read to tell whether it is a list.
    static constexpr qint64 InspectedBytes = 64 * 1024 * 1024;

private:
    std::vector<FileId> writtenFiles;
};
