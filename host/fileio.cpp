#include "fileio.h"

#include "codecs/listfile.h"
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
    ListFile::trim(bytes);
    return QString::fromUtf8(bytes);
}
