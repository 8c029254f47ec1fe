#pragma once

#include <QByteArray>
#include <QString>

// Writing whole files so that a failure never leaves a damaged one behind. FileIO.save,
// the exports and the recovery store all go through here.
namespace SafeSave {

// Result codes; callers treat every code above Ok as failure.
enum Result {
    Ok = 0,
    // The file could not be opened for writing; nothing was written.
    CannotOpen = 2,
    // Writing or committing failed; a file that existed keeps its old content.
    WriteFailed = 3,
};

// Replaces the content of the file at `path` with `bytes`. The file keeps its owner, group,
// mode and hard links, and a symbolic link its target, which takes the content.
Result write(const QString &path, const QByteArray &bytes);

} // namespace SafeSave
