#include "listfilewatch.h"

#include "listhistory.h"
#include "listimport.h"
#include "participantlistmodel.h"
#include "storage/safesave.h"

#include <QDir>
#include <QFileInfo>
#include <utility>

QString ListFileWatch::keyOf(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

void ListFileWatch::setChanged(const QString &path)
{
    if (changedFile == path)
        return;
    changedFile = path;
    emit changedChanged();
}

bool ListFileWatch::load(ListHistory *history, const QString &path)
{
    if (!history)
        return false;
    const FileStamp before = FileStamp::withBytes(path, QByteArray());
    if (!history->loadFile(path))
        return false;
    FileStamp after = FileStamp::of(path);
    // Written while it was read: what the table holds may be neither version.
    if (after.id != before.id || after.size != before.size || after.modifiedNs != before.modifiedNs)
        after = FileStamp::unknown();
    stamps[keyOf(path)] = after;
    setChanged(QString());
    return true;
}

bool ListFileWatch::changedOnDisk(const QString &path) const
{
    const auto kept = stamps.find(keyOf(path));
    if (kept == stamps.end())
        return false;
    const FileStamp now = FileStamp::of(path);
    return now.exists() && now != kept->second;
}

int ListFileWatch::save(ParticipantListModel *model, const QString &path, bool overwrite)
{
    if (!model)
        return CannotOpen;
    QByteArray bytes = model->listText();
    if (bytes.isEmpty())
        return WriteFailed;
    bytes.append('\n');
    // As late as it can be: right before the write.
    if (!overwrite && changedOnDisk(path)) {
        setChanged(path);
        return ChangedOnDisk;
    }
    const int result = SafeSave::write(path, bytes);
    if (result != SafeSave::Ok)
        return result;
    FileStamp written = FileStamp::of(path);
    // Another writer came right after this one: the next save must not take its bytes for
    // ours.
    if (written.digest != FileStamp::digestOf(bytes))
        written = FileStamp::unknown();
    stamps[keyOf(path)] = written;
    setChanged(QString());
    return Ok;
}

QString ListFileWatch::beginMerge()
{
    mergedFile = changedFile;
    return mergedFile;
}

bool ListFileWatch::endMerge(ListImport *import)
{
    const QString path = std::exchange(mergedFile, QString());
    if (path.isEmpty() || !import || !import->sourceStamp().exists())
        return false;
    stamps[keyOf(path)] = import->sourceStamp();
    setChanged(QString());
    return true;
}

void ListFileWatch::dismiss()
{
    setChanged(QString());
}
