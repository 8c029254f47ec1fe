#include "fileio.h"

#include "storage/safesave.h"

#include <QFile>

int FileIO::save(const QString &path, const QString &text)
{
    QByteArray bytes = text.toUtf8();
    bytes.append('\n');
    return SafeSave::write(path, bytes);
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
