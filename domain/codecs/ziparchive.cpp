#include "ziparchive.h"

#include "sourcetable.h"

#include <QFile>
#include <zip.h>

ZipEntry::ZipEntry(zip_file *file, qint64 size) : file(file), size(size)
{
    open(QIODevice::ReadOnly);
}

ZipEntry::~ZipEntry()
{
    zip_fclose(file);
}

qint64 ZipEntry::readData(char *data, qint64 maxSize)
{
    // A read whose bytes were all dropped is no end: read on.
    for (;;) {
        if (control && control->stopped())
            broken = finished = true;
        if (broken || finished || maxSize <= 0)
            return broken ? -1 : 0;
        // A stated size may lie: never unpack more than it.
        const zip_int64_t read =
            zip_fread(file, data, zip_uint64_t(qMin(maxSize, size - unpacked + 1)));
        if (read < 0 || unpacked + read > size) {
            broken = true;
            finished = true;
            return -1;
        }
        unpacked += read;
        if (read == 0)
            finished = true;
        const qint64 kept = runLimit > 0 ? limitRuns(data, read) : read;
        if (kept > 0 || read == 0)
            return kept;
    }
}

qint64 ZipEntry::limitRuns(char *data, qint64 count)
{
    qint64 kept = 0;
    for (qint64 i = 0; i < count; ++i) {
        const auto c = static_cast<unsigned char>(data[i]);
        if (c == '<') {
            inTag = true;
            run = 0;
            dropping = false;
            inReference = false;
        } else if (inTag) {
            inTag = c != '>';
        } else if (dropping) {
            continue;
        } else if (run >= runLimit && !inReference && (c & 0xC0) != 0x80) {
            // Past the limit, before a character or reference begins.
            dropping = true;
            continue;
        } else {
            ++run;
            inReference = c == '&' || (inReference && c != ';');
        }
        data[kept++] = char(c);
    }
    return kept;
}

ZipArchive::ZipArchive(const QString &path)
{
    int error = 0;
    archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!archive) {
        if (error == ZIP_ER_OPEN || error == ZIP_ER_NOENT || error == ZIP_ER_READ) {
            state = Unreadable;
        } else if (error == ZIP_ER_NOZIP) {
            // An archive whose end is cut off still starts as one.
            QFile file(path);
            state = file.open(QIODevice::ReadOnly) && file.read(4) == QByteArray("PK\x03\x04")
                        ? Damaged
                        : NotZip;
        } else {
            state = Damaged;
        }
        return;
    }
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    zip_uint64_t total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        if (zip_stat_index(archive, zip_uint64_t(i), 0, &stat) != 0 ||
            !(stat.valid & ZIP_STAT_SIZE)) {
            state = Damaged;
            return;
        }
        if ((stat.valid & ZIP_STAT_ENCRYPTION_METHOD) && stat.encryption_method != ZIP_EM_NONE) {
            state = Encrypted;
            return;
        }
        total += stat.size;
        if (total > zip_uint64_t(SourceLimits::MaxBytes)) {
            state = TooLarge;
            return;
        }
    }
    state = Ok;
}

ZipArchive::~ZipArchive()
{
    if (archive)
        zip_discard(archive);
}

bool ZipArchive::contains(const QString &name) const
{
    return state == Ok && zip_name_locate(archive, name.toUtf8().constData(), 0) >= 0;
}

std::unique_ptr<ZipEntry> ZipArchive::open(const QString &name) const
{
    if (state != Ok)
        return nullptr;
    const QByteArray bytes = name.toUtf8();
    const zip_int64_t index = zip_name_locate(archive, bytes.constData(), 0);
    zip_stat_t stat;
    if (index < 0 || zip_stat_index(archive, zip_uint64_t(index), 0, &stat) != 0)
        return nullptr;
    zip_file *file = zip_fopen_index(archive, zip_uint64_t(index), 0);
    if (!file)
        return nullptr;
    return std::make_unique<ZipEntry>(file, qint64(stat.size));
}
