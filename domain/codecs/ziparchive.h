#pragma once

#include "sourcetable.h"

#include <QIODevice>
#include <QString>
#include <memory>

struct zip;
struct zip_file;

// One entry of a zip archive, unpacked as it is read. An entry that unpacks to more than
// its stated size, or whose data or checksum is wrong, ends with failed() true.
class ZipEntry : public QIODevice
{
public:
    ZipEntry(zip_file *file, qint64 size);
    ~ZipEntry() override;

    bool isSequential() const override { return true; }
    bool atEnd() const override { return finished && QIODevice::atEnd(); }
    bool failed() const { return broken; }
    // Cuts each run of XML text between tags after `bytes`, at a whole character, so that
    // a cell of hundreds of megabytes reaches the XML reader as a few hundred kilobytes.
    void limitTextRuns(qint64 bytes) { runLimit = bytes; }
    // Unpacking stops, as if the entry were damaged, once `control` is cancelled.
    void setControl(const ReadControl *readControl) { control = readControl; }
    // Bytes unpacked so far, of the size the archive states.
    qint64 unpackedSize() const { return unpacked; }
    qint64 statedSize() const { return size; }

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    qint64 limitRuns(char *data, qint64 count);

    zip_file *file;
    qint64 size;
    qint64 unpacked = 0;
    bool finished = false;
    bool broken = false;
    const ReadControl *control = nullptr;
    qint64 runLimit = 0;
    qint64 run = 0;
    bool inTag = false;
    bool inReference = false;
    bool dropping = false;
};

// A zip archive read with libzip. The sizes the archive states are checked before any
// entry is unpacked.
class ZipArchive
{
public:
    enum Status { Ok, Unreadable, NotZip, Damaged, Encrypted, TooLarge };

    explicit ZipArchive(const QString &path);
    ~ZipArchive();
    ZipArchive(const ZipArchive &) = delete;
    ZipArchive &operator=(const ZipArchive &) = delete;

    Status status() const { return state; }
    bool contains(const QString &name) const;
    // Null when the archive has no such entry or it cannot be unpacked.
    std::unique_ptr<ZipEntry> open(const QString &name) const;

private:
    zip *archive = nullptr;
    Status state = Unreadable;
};
