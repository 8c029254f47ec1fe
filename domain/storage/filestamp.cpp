#include "filestamp.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#elif defined(Q_OS_WIN)
#include <qt_windows.h>
#endif

namespace {

// Identity, size and modification time of the file `path` names, links followed.
bool statOf(const QString &path, FileId &id, qint64 &size, qint64 &modifiedNs)
{
    if (path.isEmpty() || path.startsWith(QLatin1Char(':')))
        return false;
#ifdef Q_OS_UNIX
    struct stat st = {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    id.device = std::uint64_t(st.st_dev);
    id.inode = std::uint64_t(st.st_ino);
    size = qint64(st.st_size);
#ifdef Q_OS_MACOS
    modifiedNs = qint64(st.st_mtimespec.tv_sec) * 1000000000 + st.st_mtimespec.tv_nsec;
#else
    modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
#endif
#elif defined(Q_OS_WIN)
    const HANDLE handle =
        ::CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()), 0,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ok = ::GetFileInformationByHandle(handle, &info) != 0;
    ::CloseHandle(handle);
    if (!ok)
        return false;
    id.device = info.dwVolumeSerialNumber;
    id.inode = (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    size = qint64((std::uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    modifiedNs = qint64((std::uint64_t(info.ftLastWriteTime.dwHighDateTime) << 32) |
                        info.ftLastWriteTime.dwLowDateTime) *
                 100;
#else
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    id.device = 0;
    id.inode = qHash(info.canonicalFilePath());
    size = info.size();
    modifiedNs = info.lastModified().toMSecsSinceEpoch() * 1000000;
#endif
    id.valid = true;
    return true;
}

} // namespace

FileId FileId::of(const QString &path)
{
    FileId id;
    qint64 size = 0;
    qint64 modified = 0;
    if (!statOf(path, id, size, modified))
        return FileId();
    return id;
}

FileStamp FileStamp::unknown()
{
    FileStamp stamp;
    stamp.digest = QByteArrayLiteral("unknown");
    return stamp;
}

QByteArray FileStamp::digestOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

FileStamp FileStamp::withBytes(const QString &path, const QByteArray &bytes)
{
    FileStamp stamp;
    if (!statOf(path, stamp.id, stamp.size, stamp.modifiedNs))
        return FileStamp();
    stamp.digest = digestOf(bytes);
    return stamp;
}

FileStamp FileStamp::of(const QString &path)
{
    QFile file(path);
    const QFileInfo info(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return FileStamp();
    return withBytes(path, file.readAll());
}
