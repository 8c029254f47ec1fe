#include "fileio.h"

#include <QFile>
#include <QSaveFile>

int FileIO::save(const QString &path, const QString &text)
{
    // Resource paths are read-only, and QSaveFile would otherwise look for ":" on disk.
    if (path.isEmpty() || path.startsWith(QLatin1Char(':')))
        return SaveCannotOpen;

    // Writing to a temporary file and renaming it keeps the old list whole until
    // the new one is complete; folders that allow no temporary file get a direct write.
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return SaveCannotOpen;

    QByteArray bytes = text.toUtf8();
    bytes.append('\n');
    // commit() does not notice a failure of its own final flush and would rename a
    // truncated file over the old one, so flush and check before committing.
    if (file.write(bytes) != bytes.size() || !file.flush() ||
        file.error() != QFileDevice::NoError) {
        file.cancelWriting();
        return SaveWriteFailed;
    }
    return file.commit() ? SaveOk : SaveWriteFailed;
}

QString FileIO::readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();

    QByteArray bytes = file.readAll();
    const int nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    return QString::fromUtf8(bytes);
}
