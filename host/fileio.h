#pragma once

#include "storage/safesave.h"

#include <QObject>
#include <QString>

// Moves whole texts between the user interface and the file system.
class FileIO : public QObject
{
    Q_OBJECT

public:
    // Result codes of save(). The pages treat every code above 0 as failure.
    static constexpr int SaveOk = SafeSave::Ok;
    // The file could not be opened for writing; nothing was written.
    static constexpr int SaveCannotOpen = SafeSave::CannotOpen;
    // Writing or committing failed; a file that existed keeps its old content.
    static constexpr int SaveWriteFailed = SafeSave::WriteFailed;

    FileIO() = default;

    // Writes text as UTF-8 (no byte-order mark) followed by one line feed.
    Q_INVOKABLE int save(const QString &path, const QString &text);
    // The file's text up to its first NUL byte, or an empty string.
    Q_INVOKABLE QString readAll(const QString &path);
};
