#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// Which file a path names, and what it held when the program last read or wrote it.
//
// Two paths name the same file when their identities match: device and inode on Unix, the
// volume and the file index on Windows. That holds through hard and symbolic links, bind
// mounts and ".." in either path.
struct FileId
{
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool valid = false;

    // The identity of the file `path` names, links followed; invalid when there is none.
    static FileId of(const QString &path);
    bool operator==(const FileId &other) const
    {
        return valid && other.valid && device == other.device && inode == other.inode;
    }
    bool operator!=(const FileId &other) const { return !(*this == other); }
};

// The file's identity, size, modification time and a digest of its bytes: any write by
// another program or another computer changes at least one of them.
struct FileStamp
{
    FileId id;
    qint64 size = -1;
    qint64 modifiedNs = 0;
    QByteArray digest;

    bool exists() const { return id.valid; }
    // A stamp that matches no file: what is kept when the bytes read were not what the file
    // held a moment later.
    bool isUnknown() const { return !id.valid && !digest.isEmpty(); }
    static FileStamp unknown();

    // Reads the file at `path` whole; an empty stamp when there is none.
    static FileStamp of(const QString &path);
    // The file's identity, size and time now, with the digest of `bytes`, which the caller
    // has just read from it or written into it.
    static FileStamp withBytes(const QString &path, const QByteArray &bytes);
    static QByteArray digestOf(const QByteArray &bytes);

    bool operator==(const FileStamp &other) const
    {
        return id == other.id && size == other.size && modifiedNs == other.modifiedNs &&
               digest == other.digest;
    }
    bool operator!=(const FileStamp &other) const { return !(*this == other); }
};
