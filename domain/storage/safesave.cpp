#include "safesave.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#ifdef Q_OS_LINUX
#include <sys/xattr.h>
#endif
#else
#include <QSaveFile>
#endif

namespace SafeSave {

#ifdef Q_OS_UNIX
namespace {

class Descriptor
{
public:
    explicit Descriptor(int fd) : fd(fd) {}
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return fd; }
    bool close() { return ::close(std::exchange(fd, -1)) == 0; }

private:
    int fd;
};

bool writeAll(int fd, const char *data, std::size_t size)
{
    off_t at = 0;
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, size, at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        at += n;
        size -= std::size_t(n);
    }
    return true;
}

bool readAll(int fd, std::string &out)
{
    char buffer[65536];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof(buffer), at);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        out.append(buffer, std::size_t(n));
        at += n;
    }
}

bool sync(int fd)
{
    while (::fsync(fd) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

std::string folderOf(const std::string &path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool mayWrite(const std::string &path)
{
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// The mode open() gives a new file, read without changing the process-wide mask, which
// other threads' new files would take meanwhile. False where it cannot be read so.
bool newFileMode(mode_t &mode)
{
#ifdef Q_OS_LINUX
    std::FILE *status = std::fopen("/proc/self/status", "re");
    if (!status)
        return false;
    char line[256];
    unsigned mask = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof(line), status))
        found = std::sscanf(line, "Umask: %o", &mask) == 1;
    std::fclose(status);
    if (found)
        mode = 0666 & ~mode_t(mask);
    return found;
#else
    (void)mode;
    return false;
#endif
}

// Extended attributes, access lists among them, that a new file beside `path` would not
// carry; the security label is the folder's as well.
bool hasOwnAttributes(const std::string &path)
{
#ifdef Q_OS_LINUX
    char names[4096];
    const ssize_t size = ::listxattr(path.c_str(), names, sizeof(names));
    if (size < 0)
        return errno == ERANGE;
    for (ssize_t at = 0; at < size; at += ssize_t(std::strlen(names + at)) + 1) {
        if (std::strncmp(names + at, "security.", 9) != 0)
            return true;
    }
#else
    (void)path;
#endif
    return false;
}

// Writes a complete file beside `path` and renames it over `path`. Gives false, having
// changed nothing, when no such file can be made with the old file's owner and mode, or
// with the mode a new file takes.
bool isKept(const struct stat &st, const Options &options)
{
    return std::any_of(options.keep.begin(), options.keep.end(), [&st](const FileId &id) {
        return id.valid && std::uint64_t(st.st_dev) == id.device &&
               std::uint64_t(st.st_ino) == id.inode;
    });
}

bool replace(const std::string &path, const struct stat *old, const QByteArray &bytes,
             const Options &options, Result &result)
{
    mode_t mode = options.privateFile ? 0600 : old ? old->st_mode & 07777 : 0;
    if (!old && !options.privateFile && !newFileMode(mode))
        return false;
    const auto slash = path.rfind('/');
    std::string temp = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) +
                       '.' + path.substr(slash + 1) + ".XXXXXX";
    Descriptor file(::mkstemp(&temp[0]));
    if (file.get() < 0)
        return false;
    // Owner first: a change of owner drops the set-id bits that the mode may restore.
    if ((old && ::fchown(file.get(), old->st_uid, old->st_gid) != 0) ||
        ::fchmod(file.get(), mode) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    if (!writeAll(file.get(), bytes.constData(), std::size_t(bytes.size())) || !sync(file.get()) ||
        !file.close()) {
        ::unlink(temp.c_str());
        result = WriteFailed;
        return true;
    }
    // As late as it can be: another name of the kept file may have taken this one meanwhile.
    struct stat now = {};
    if (!options.keep.empty() && ::stat(path.c_str(), &now) == 0 && isKept(now, options)) {
        ::unlink(temp.c_str());
        result = Refused;
        return true;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        result = WriteFailed;
        return true;
    }
    const Descriptor folder(::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0)
        sync(folder.get());
    result = Ok;
    return true;
}

// Writes over the file itself, which keeps its owner, mode and links. The space is
// reserved first, so that a full disk or a size limit fails before a byte changes; a
// write that fails all the same gets the old bytes back.
Result overwrite(const std::string &path, const QByteArray &bytes, const Options &options)
{
    bool readable = true;
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0 && errno == EACCES) {
        readable = false;
        fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    }
    Descriptor file(fd);
    if (file.get() < 0)
        return CannotOpen;
    std::string old;
    struct stat st = {};
    if (::fstat(file.get(), &st) != 0)
        return WriteFailed;
    // The file open here is the one written, whatever name it has got since.
    if (isKept(st, options))
        return Refused;
    if (options.privateFile && ::fchmod(file.get(), 0600) != 0)
        return CannotOpen;
    if (readable && !readAll(file.get(), old))
        return WriteFailed;
    const off_t oldSize = st.st_size;
    const off_t size = off_t(bytes.size());
    if (size > 0) {
        const int reserved = ::posix_fallocate(file.get(), 0, size);
        if (reserved != 0 && reserved != EOPNOTSUPP && reserved != ENOSYS) {
            if (size > oldSize)
                (void)::ftruncate(file.get(), oldSize);
            return WriteFailed;
        }
        // Old bytes that cannot be read cannot be put back after a failed write.
        if (reserved != 0 && !readable)
            return WriteFailed;
    }
    if (writeAll(file.get(), bytes.constData(), std::size_t(size)) &&
        ::ftruncate(file.get(), size) == 0 && sync(file.get()))
        return Ok;
    if (readable && writeAll(file.get(), old.data(), old.size()) &&
        ::ftruncate(file.get(), oldSize) == 0)
        sync(file.get());
    return WriteFailed;
}

// A file made where none was, when no file can be made beside it to rename or its mode is
// unknown: open() gives it the mode the process's mask allows.
Result create(const std::string &path, const QByteArray &bytes, const Options &options)
{
    // Exclusive, so that the removal after a failure takes nothing but our own file.
    Descriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                           options.privateFile ? 0600 : 0666));
    if (file.get() < 0)
        return CannotOpen;
    if (writeAll(file.get(), bytes.constData(), std::size_t(bytes.size())) && sync(file.get()) &&
        file.close())
        return Ok;
    ::unlink(path.c_str());
    return WriteFailed;
}

// The missing name that `path`, or the chain of links it starts, ends in; empty when it
// ends in something that exists or in no name at all.
std::string missingTarget(std::string path)
{
    for (int links = 0; links < 40; ++links) {
        struct stat st = {};
        if (::lstat(path.c_str(), &st) != 0)
            return errno == ENOENT ? path : std::string();
        if (!S_ISLNK(st.st_mode))
            return std::string();
        char target[4096];
        const ssize_t size = ::readlink(path.c_str(), target, sizeof(target));
        if (size <= 0 || size == ssize_t(sizeof(target)))
            return std::string();
        const std::string next(target, std::size_t(size));
        path = next[0] == '/' ? next : folderOf(path) + '/' + next;
    }
    return std::string();
}

} // namespace

Result write(const QString &path, const QByteArray &bytes, const Options &options)
{
    // Resource paths are read-only.
    if (path.isEmpty() || path.startsWith(QLatin1Char(':')))
        return CannotOpen;
    const QByteArray given = QFile::encodeName(path);
    struct stat st = {};
    if (::stat(given.constData(), &st) != 0) {
        if (errno != ENOENT)
            return CannotOpen;
        // Made whole at the end of a dangling link, which stays as it was.
        const std::string made = missingTarget(given.toStdString());
        if (made.empty())
            return CannotOpen;
        Result result = CannotOpen;
        if (replace(made, nullptr, bytes, options, result))
            return result;
        return create(made, bytes, options);
    }
    // Anything but a plain file, a device above all, is no list to write.
    if (!S_ISREG(st.st_mode))
        return CannotOpen;
    if (isKept(st, options))
        return Refused;
    // A link stays a link: its target takes the content.
    char *real = ::realpath(given.constData(), nullptr);
    if (!real)
        return CannotOpen;
    const std::string target(real);
    std::free(real);
    if (!mayWrite(target))
        return CannotOpen;

    // As careful editors do: a rename only where it changes nothing but the content.
    Result result = WriteFailed;
    if (st.st_uid == ::geteuid() && st.st_nlink == 1 && mayWrite(folderOf(target)) &&
        !hasOwnAttributes(target) && replace(target, &st, bytes, options, result))
        return result;
    return overwrite(target, bytes, options);
}

#else

Result write(const QString &path, const QByteArray &bytes, const Options &options)
{
    // Resource paths are read-only, and QSaveFile would otherwise look for ":" on disk.
    if (path.isEmpty() || path.startsWith(QLatin1Char(':')))
        return CannotOpen;

    // Writing to a temporary file and renaming it keeps the old file whole until the new
    // one is complete; folders that allow no temporary file get a direct write.
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return CannotOpen;

    // commit() does not notice a failure of its own final flush and would rename a
    // truncated file over the old one, so flush and check before committing.
    if (file.write(bytes) != bytes.size() || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return WriteFailed;
    }
    if (options.keeps(FileId::of(path))) {
        file.cancelWriting();
        return Refused;
    }
    return file.commit() ? Ok : WriteFailed;
}

#endif

} // namespace SafeSave
