#include "privatefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace PrivateFiles {

#ifdef Q_OS_UNIX

namespace {

// Every file of this user in the folder, links aside, down to 0600.
void narrowFiles(int folder)
{
    const int again = ::dup(folder);
    DIR *entries = again >= 0 ? ::fdopendir(again) : nullptr;
    if (!entries) {
        if (again >= 0)
            ::close(again);
        return;
    }
    while (const dirent *entry = ::readdir(entries)) {
        struct stat st = {};
        if (::fstatat(folder, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() || (st.st_mode & 077) == 0)
            continue;
        (void)::fchmodat(folder, entry->d_name, st.st_mode & 0700, 0);
    }
    ::closedir(entries);
}

} // namespace

bool makeFolder(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    const QString parent = QFileInfo(clean).path();
    if (!QDir().mkpath(parent))
        return false;
    const QByteArray name = QFile::encodeName(clean);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    const int folder = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return false;
    struct stat st = {};
    bool ok = ::fstat(folder, &st) == 0;
    if (ok && st.st_uid == ::geteuid()) {
        if ((st.st_mode & 077) != 0)
            ok = ::fchmod(folder, 0700) == 0;
        // Files an earlier version left with the mask's mode.
        narrowFiles(folder);
    }
    ::close(folder);
    return ok;
}

Mask::Mask() : previous(::umask(077)) {}

Mask::~Mask()
{
    ::umask(mode_t(previous));
}

#else

// Windows keeps each user's application data under a folder only that user may enter.
bool makeFolder(const QString &path)
{
    return !path.isEmpty() && QDir().mkpath(path);
}

Mask::Mask() = default;
Mask::~Mask() = default;

#endif

} // namespace PrivateFiles
