#include "savetarget.h"

#include "codecs/listfile.h"
#include "listtext.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <algorithm>

QString SaveTarget::localPath(const QString &target)
{
    return target.startsWith(QLatin1String("file:")) ? QUrl(target).toLocalFile() : target;
}

QString SaveTarget::question(const QString &target, const QStringList &kept) const
{
    const QString path = localPath(target);
    const FileId id = FileId::of(path);
    // A folder is no file to replace: the write itself fails with its notice.
    const auto isKept = [&id](const QString &file) { return id == FileId::of(file); };
    if (!id.valid || QFileInfo(path).isDir() || std::any_of(kept.begin(), kept.end(), isKept) ||
        std::find(writtenFiles.begin(), writtenFiles.end(), id) != writtenFiles.end())
        return QString();
    QString text =
        QStringLiteral("Файл «%1» уже существует. Заменить его?").arg(QFileInfo(path).fileName());
    QFile file(path);
    if (QFileInfo(path).isFile() && file.size() <= InspectedBytes &&
        file.open(QIODevice::ReadOnly)) {
        QByteArray bytes = file.readAll();
        ListFile::trim(bytes);
        const long long records = ListFile::recordCount(bytes);
        if (records >= 0)
            text += QStringLiteral("\nЭто список участников: ") + ListText::recordsText(records) +
                    QLatin1Char('.');
    }
    return text;
}

void SaveTarget::written(const QString &target)
{
    const FileId id = FileId::of(localPath(target));
    if (id.valid && std::find(writtenFiles.begin(), writtenFiles.end(), id) == writtenFiles.end())
        writtenFiles.push_back(id);
}
