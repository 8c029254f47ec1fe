#include "recoverystore.h"

#include "codecs/listjson.h"
#include "storage/privatefiles.h"
#include "storage/safesave.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <algorithm>
#include <atomic>

namespace {

const char *const pageNames[] = {"creation", "editing"};
const QLatin1String suffix(".recovery");
const int format = 1;

QString newCopyId()
{
    // Unique among copies running at once (the process id) and over time (the start time);
    // the counter tells apart stores made in one process, as tests make them.
    static std::atomic<int> made(0);
    QString id = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")) +
                 QLatin1Char('-') + QString::number(QCoreApplication::applicationPid());
    const int count = made++;
    if (count > 0)
        id += QLatin1Char('-') + QString::number(count);
    return id;
}

std::unique_ptr<QLockFile> lockOf(const QDir &folder, const QString &id)
{
    std::unique_ptr<QLockFile> lock(new QLockFile(folder.filePath(id + QLatin1String(".lock"))));
    // A copy may run for days without touching its lock: only a dead process makes a lock
    // stale, never its age.
    lock->setStaleLockTime(0);
    return lock;
}

// QLockFile makes its file with the process's mask.
bool tryLock(QLockFile &lock)
{
    const PrivateFiles::Mask privately;
    return lock.tryLock(0);
}

} // namespace

RecoveryStore::RecoveryStore(const QString &folder, QObject *parent)
    : QObject(parent), folderPath(folder), id(newCopyId())
{
    if (!folderPath.isEmpty() && PrivateFiles::makeFolder(folderPath)) {
        ownLock = lockOf(QDir(folderPath), id);
        tryLock(*ownLock);
    }
    writer = std::thread([this] { runWriter(); });
}

RecoveryStore::~RecoveryStore()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    writer.join();
    // Unlocking removes the lock files; recovery files left behind belong to nobody now
    // and go to the next copy that claims them.
    for (auto &claimed : claimedLocks)
        claimed.second->unlock();
    if (ownLock)
        ownLock->unlock();
}

QString RecoveryStore::fileOf(Page page) const
{
    if (folderPath.isEmpty())
        return QString();
    return QDir(folderPath)
        .filePath(id + QLatin1Char('.') + QLatin1String(pageNames[page]) + suffix);
}

const QList<RecoveryStore::Offer> &RecoveryStore::offers(Page page) const
{
    return pageOffers[page];
}

void RecoveryStore::claimOrphans()
{
    if (folderPath.isEmpty())
        return;
    const QDir folder(folderPath);
    QStringList running;
    bool found = false;
    const QStringList files =
        folder.entryList({QLatin1Char('*') + suffix}, QDir::Files, QDir::Name);
    for (const QString &name : files) {
        const QStringList parts = name.split(QLatin1Char('.'));
        const int page = parts.size() != 3                                ? -1
                         : parts[1] == QLatin1String(pageNames[Creation]) ? Creation
                         : parts[1] == QLatin1String(pageNames[Editing])  ? Editing
                                                                          : -1;
        const QString &owner = parts[0];
        if (page < 0 || owner == id || running.contains(owner))
            continue;
        if (!claimedLocks.count(owner)) {
            std::unique_ptr<QLockFile> lock = lockOf(folder, owner);
            if (!tryLock(*lock)) {
                running.append(owner);
                continue;
            }
            claimedLocks[owner] = std::move(lock);
        }
        found = claim(folder.filePath(name), Page(page)) || found;
    }

    // Locks of copies that died with nothing unsaved would otherwise pile up.
    for (const QString &name : folder.entryList({QStringLiteral("*.lock")}, QDir::Files)) {
        const QString owner = name.left(name.size() - 5);
        if (owner == id || claimedLocks.count(owner) || running.contains(owner))
            continue;
        std::unique_ptr<QLockFile> lock = lockOf(folder, owner);
        if (tryLock(*lock))
            lock->unlock();
    }

    // Half-written files of copies that died while writing them.
    const QStringList halfWritten = folder.entryList(
        {QLatin1String(".*") + suffix + QLatin1String(".*")}, QDir::Files | QDir::Hidden);
    for (const QString &name : halfWritten) {
        const QString owner = name.mid(1).section(QLatin1Char('.'), 0, 0);
        if (owner == id || running.contains(owner))
            continue;
        if (claimedLocks.count(owner)) {
            QFile::remove(folder.filePath(name));
            continue;
        }
        std::unique_ptr<QLockFile> lock = lockOf(folder, owner);
        if (tryLock(*lock)) {
            QFile::remove(folder.filePath(name));
            lock->unlock();
        }
    }

    if (!found)
        return;
    for (QList<Offer> &offers : pageOffers)
        std::stable_sort(offers.begin(), offers.end(),
                         [](const Offer &a, const Offer &b) { return a.written > b.written; });
    emit offersChanged();
}

bool RecoveryStore::claim(const QString &file, Page page)
{
    // A file turned down may still wait for its removal.
    if (dropped.contains(file))
        return false;
    for (const Offer &offer : pageOffers[page]) {
        if (offer.file == file)
            return false;
    }
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    Offer offer;
    offer.file = file;
    offer.written = QFileInfo(file).lastModified();
    if (!decode(in.readAll(), page, offer.state, offer.count)) {
        in.close();
        setAside(file);
        return false;
    }
    pageOffers[page].append(offer);
    return true;
}

void RecoveryStore::setAside(const QString &file)
{
    QString aside = file + QLatin1String(".damaged");
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = file + QLatin1String(".damaged-") + QString::number(n);
    if (QFile::rename(file, aside))
        qWarning("Recovery file %s is damaged; it was not offered and is kept as %s",
                 qPrintable(QDir::toNativeSeparators(file)),
                 qPrintable(QDir::toNativeSeparators(aside)));
    else
        qWarning("Recovery file %s is damaged and could not be set aside",
                 qPrintable(QDir::toNativeSeparators(file)));
}

void RecoveryStore::dropOffer(Page page)
{
    if (pageOffers[page].isEmpty())
        return;
    Job job;
    job.path = pageOffers[page].takeFirst().file;
    job.remove = true;
    dropped.append(job.path);
    enqueue(job);
    emit offersChanged();
}

void RecoveryStore::write(Page page, const State &state)
{
    Job job;
    job.path = fileOf(page);
    job.bytes = encode(page, state);
    job.page = page;
    enqueue(job);
}

void RecoveryStore::remove(Page page)
{
    Job job;
    job.path = fileOf(page);
    job.remove = true;
    job.page = page;
    enqueue(job);
}

void RecoveryStore::enqueue(Job job)
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        const auto same = std::find_if(jobs.begin(), jobs.end(), [&job](const Job &queued) {
            return queued.path == job.path;
        });
        if (same != jobs.end())
            *same = std::move(job);
        else
            jobs.push_back(std::move(job));
    }
    wake.notify_one();
}

void RecoveryStore::waitForWrites()
{
    std::unique_lock<std::mutex> lock(mutex);
    idle.wait(lock, [this] { return jobs.empty() && !busy; });
}

void RecoveryStore::runWriter()
{
    SafeSave::Options privately;
    privately.privateFile = true;
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return stopping || !jobs.empty(); });
        if (jobs.empty())
            return;
        Job job = std::move(jobs.front());
        jobs.pop_front();
        busy = true;
        lock.unlock();

        bool ok = false;
        if (job.path.isEmpty())
            ok = false;
        else if (job.remove)
            ok = !QFileInfo::exists(job.path) || QFile::remove(job.path);
        else
            // The folder may have gone since the start.
            ok = (QFileInfo(folderPath).isDir() || PrivateFiles::makeFolder(folderPath)) &&
                 SafeSave::write(job.path, job.bytes, privately) == SafeSave::Ok;
        if (job.page >= 0)
            emit written(job.page, ok);

        lock.lock();
        busy = false;
        idle.notify_all();
    }
}

QByteArray RecoveryStore::encode(Page page, const State &state)
{
    QJsonObject header;
    header.insert(QStringLiteral("format"), format);
    header.insert(QStringLiteral("page"), QLatin1String(pageNames[page]));
    if (page == Editing) {
        header.insert(QStringLiteral("path"), state.path);
        header.insert(QStringLiteral("keys"), QJsonArray::fromStringList(state.keys));
    }
    QByteArray bytes = QJsonDocument(header).toJson(QJsonDocument::Compact);
    bytes.reserve(bytes.size() + state.rows.size() + 2);
    bytes += '\n';
    bytes += state.rows;
    bytes += '\n';
    return bytes;
}

bool RecoveryStore::decode(const QByteArray &bytes, Page page, State &state, int &count)
{
    const int headerEnd = bytes.indexOf('\n');
    if (headerEnd < 0 || !bytes.endsWith('\n'))
        return false;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes.left(headerEnd), &error);
    const QJsonObject header = document.object();
    if (error.error != QJsonParseError::NoError || !document.isObject() ||
        header.value(QStringLiteral("format")).toInt() != format ||
        header.value(QStringLiteral("page")).toString() != QLatin1String(pageNames[page]))
        return false;

    State decoded;
    if (page == Editing) {
        const QJsonValue path = header.value(QStringLiteral("path"));
        const QJsonValue keys = header.value(QStringLiteral("keys"));
        if (!path.isString() || !keys.isArray())
            return false;
        decoded.path = path.toString();
        for (const QJsonValue key : keys.toArray()) {
            if (!key.isString())
                return false;
            decoded.keys.append(key.toString());
        }
    }
    decoded.rows = bytes.mid(headerEnd + 1, bytes.size() - headerEnd - 2);
    if (decoded.rows.contains('\n'))
        return false;
    try {
        KeyTable keys;
        ListJson::ReadResult result;
        if (!ListJson::read(decoded.rows.constData(),
                            decoded.rows.constData() + decoded.rows.size(), keys, result) ||
            result.skipped > 0)
            return false;
        count = int(result.rows.size());
    } catch (const std::exception &) {
        return false;
    }
    state = decoded;
    return true;
}
