#pragma once

#include "filestamp.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <vector>

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
    // The target is the file the caller said must stay as it is; nothing was written.
    Refused = 5,
};

struct Options
{
    // The program's own files: a new one is made with mode 0600 from the start, and a file
    // replaced gets 0600 too, whatever mode it had.
    bool privateFile = false;
    // Files that must not be written, by identity: checked before writing and once more
    // right before the new content takes the target's place.
    std::vector<FileId> keep;

    bool keeps(const FileId &id) const
    {
        return id.valid && std::find(keep.begin(), keep.end(), id) != keep.end();
    }
};

// Replaces the content of the file at `path` with `bytes`. The file keeps its owner, group,
// mode and hard links, and a symbolic link its target, which takes the content.
Result write(const QString &path, const QByteArray &bytes, const Options &options = Options());

} // namespace SafeSave
