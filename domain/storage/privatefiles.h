#pragma once

#include <QString>

// The program's own files, such as the unsaved lists it keeps for recovery, hold personal
// data the operator never chose to store: nobody else may read them, from their first
// moment on.
namespace PrivateFiles {

// Makes the folder `path` and those above it; the folder itself gets mode 0700 as it is
// made. A folder that exists with a wider mode is narrowed, and so is every file of this
// user in it, to 0600. False when the folder is not there afterwards.
bool makeFolder(const QString &path);

// While one lives, files that this process makes are made without access for others,
// for code that takes no mode, such as QLockFile. The mask is the process's, so a file
// another thread makes meanwhile is at most narrower than it would be.
class Mask
{
public:
    Mask();
    ~Mask();
    Mask(const Mask &) = delete;
    Mask &operator=(const Mask &) = delete;

private:
    unsigned previous = 0;
};

} // namespace PrivateFiles
