#include "safesave.h"

#include <QSaveFile>

namespace SafeSave {

Result write(const QString &path, const QByteArray &bytes)
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
    return file.commit() ? Ok : WriteFailed;
}

} // namespace SafeSave
