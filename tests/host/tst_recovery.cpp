#include "fileio.h"
#include "pagerecovery.h"
#include "participantlistmodel.h"
#include "participantrules.h"
#include "storage/recoverystore.h"

#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <sys/stat.h>

namespace {

const QString gto = QStringLiteral(
    "{\"birthDate\":\"07.03.2000\",\"group\":\"Школа 5\",\"gtoUuid\":\"12345678901\","
    "\"isGto\":true,\"name\":\"Иванова Мария\",\"organization\":\"Школа 5\",\"sex\":\"Ж\","
    "\"step\":\"6.0\"}");
const QString training = QStringLiteral(
    "{\"group\":\"5А\",\"isGto\":false,\"name\":\"Петров Иван\",\"organization\":\"Клуб\"}");
// After a first list has set the key order, a second one whose rows alone would give
// another: written back, its second row keeps "group" before "name".
const QString earlierList = QLatin1Char('[') + gto + QLatin1Char(']');
const QString laterList = QStringLiteral(
    "[{\"name\":\"Сидоров\"},{\"group\":\"Лицей \\\"2\\\"\",\"name\":\"Орлова\\tА\"}]");

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

// One page of one running copy: its list model and what watches it.
struct Page
{
    Page(RecoveryStore &store, PageRecovery::Page kind)
    {
        model.setKeyOrder(kind == PageRecovery::Creation ? ParticipantListModel::RecordOrder
                                                         : ParticipantListModel::FirstMetOrder);
        recovery.setPage(kind);
        recovery.setModel(&model);
        history.setList(&model);
        recovery.setHistory(&history);
        recovery.setStore(&store);
    }
    ParticipantListModel model;
    // Keeps the list's path.
    ListHistory history;
    PageRecovery recovery;
};

} // namespace

class TestRecovery : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void writtenAfterAChange_data();
    void writtenAfterAChange();
    void removedWhenTheListIsAsSaved_data();
    void removedWhenTheListIsAsSaved();
    void closingWritesTheLastChange();
    void twoCopiesKeepTheirFilesApart();
    void deadCopysListIsRestored_data();
    void deadCopysListIsRestored();
    void staleLockIsTakenOver();
    void damagedFileIsSetAside_data();
    void damagedFileIsSetAside();
    void failureIsReportedOnce();
    void ownFilesArePrivate();

private:
    QString folder() const { return dir->filePath(QStringLiteral("recovery")); }
    QString file(const QString &name) const { return folder() + QLatin1Char('/') + name; }
    // What FileIO.save writes for the page's list.
    QByteArray savedBytes(const ParticipantListModel &model)
    {
        const QString path = dir->filePath(QStringLiteral("saved.json"));
        FileIO().save(path, model.toJson());
        return contents(path);
    }

    std::unique_ptr<QTemporaryDir> dir;
};

void TestRecovery::init()
{
    dir.reset(new QTemporaryDir);
    QVERIFY(dir->isValid());
}

enum Change { AddEntry, EditCell, RemoveRow };
enum Settle { Save, Clear, EditBack };

void TestRecovery::writtenAfterAChange_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("change");
    QTest::newRow("creation: entry added") << int(PageRecovery::Creation) << int(AddEntry);
    QTest::newRow("editing: cell edited") << int(PageRecovery::Editing) << int(EditCell);
    QTest::newRow("editing: row deleted") << int(PageRecovery::Editing) << int(RemoveRow);
}

void TestRecovery::writtenAfterAChange()
{
    QFETCH(int, page);
    QFETCH(int, change);
    RecoveryStore store(folder());
    Page list(store, PageRecovery::Page(page));
    const QString path = dir->filePath(QStringLiteral("список.json"));
    if (page == PageRecovery::Editing) {
        QVERIFY(list.model.load(earlierList));
        QVERIFY(list.model.load(laterList));
        list.recovery.markClean(path);
    }
    QSignalSpy unsaved(&list.recovery, &PageRecovery::unsavedChanged);

    if (change == AddEntry)
        list.model.append(ParticipantRules::trainingRecord(
            QStringLiteral("5А"), QStringLiteral("Петров Иван"), QStringLiteral("Клуб")));
    else if (change == EditCell)
        QVERIFY(list.model.editCell(1, QStringLiteral("birthDate"), QStringLiteral("1.2.1980")));
    else
        QVERIFY(list.model.remove(0));

    const QString own = store.fileOf(RecoveryStore::Page(page));
    QTRY_VERIFY(QFile::exists(own));
    QVERIFY(list.recovery.unsaved());
    QCOMPARE(unsaved.count(), 1);
    store.waitForWrites();

    const QByteArray bytes = contents(own);
    const int headerEnd = bytes.indexOf('\n');
    QCOMPARE(bytes.mid(headerEnd + 1), savedBytes(list.model));
    RecoveryStore::State state;
    int count = 0;
    QVERIFY(RecoveryStore::decode(bytes, RecoveryStore::Page(page), state, count));
    QCOMPARE(count, list.model.rowCount());
    QCOMPARE(state.path, page == PageRecovery::Editing ? path : QString());
}

void TestRecovery::removedWhenTheListIsAsSaved_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("settle");
    QTest::addColumn<bool>("stillUnsaved");
    QTest::newRow("creation: saved") << int(PageRecovery::Creation) << int(Save) << false;
    // Nothing left to lose, though the list differs from the one saved.
    QTest::newRow("creation: cleared") << int(PageRecovery::Creation) << int(Clear) << true;
    QTest::newRow("editing: saved") << int(PageRecovery::Editing) << int(Save) << false;
    QTest::newRow("editing: edited back") << int(PageRecovery::Editing) << int(EditBack) << false;
}

void TestRecovery::removedWhenTheListIsAsSaved()
{
    QFETCH(int, page);
    QFETCH(int, settle);
    QFETCH(bool, stillUnsaved);
    RecoveryStore store(folder());
    Page list(store, PageRecovery::Page(page));
    const QString own = store.fileOf(RecoveryStore::Page(page));
    QVERIFY(list.model.load(QLatin1Char('[') + gto + QLatin1Char(']')));
    list.recovery.markClean(dir->filePath(QStringLiteral("a.json")));
    QVERIFY(list.model.editCell(0, QStringLiteral("name"), QStringLiteral("Другая")));
    QTRY_VERIFY(QFile::exists(own));

    if (settle == Save)
        list.recovery.markClean(dir->filePath(QStringLiteral("b.json")));
    else if (settle == Clear)
        list.model.clear();
    else
        QVERIFY(list.model.editCell(0, QStringLiteral("name"), QStringLiteral("Иванова Мария")));
    QTRY_VERIFY(!QFile::exists(own));
    QTRY_COMPARE(list.recovery.unsaved(), stillUnsaved);
}

void TestRecovery::closingWritesTheLastChange()
{
    QString own;
    QByteArray expected;
    {
        RecoveryStore store(folder());
        Page list(store, PageRecovery::Creation);
        own = store.fileOf(RecoveryStore::Creation);
        QVERIFY(list.model.load(QLatin1Char('[') + training + QLatin1Char(']')));
        expected = savedBytes(list.model);
        // Gone at once, as the pages and the store go when the window closes.
    }
    const QByteArray bytes = contents(own);
    QCOMPARE(bytes.mid(bytes.indexOf('\n') + 1), expected);
}

void TestRecovery::twoCopiesKeepTheirFilesApart()
{
    auto first = std::make_unique<RecoveryStore>(folder());
    RecoveryStore second(folder());
    {
        Page one(*first, PageRecovery::Creation);
        Page other(second, PageRecovery::Creation);
        QVERIFY(one.model.load(QLatin1Char('[') + gto + QLatin1Char(']')));
        QVERIFY(other.model.load(QLatin1Char('[') + training + QLatin1Char(',') + training +
                                 QLatin1Char(']')));
    }
    first->waitForWrites();
    second.waitForWrites();
    QVERIFY(first->fileOf(RecoveryStore::Creation) != second.fileOf(RecoveryStore::Creation));
    QVERIFY(contents(first->fileOf(RecoveryStore::Creation)).contains("Иванова"));
    QVERIFY(!contents(second.fileOf(RecoveryStore::Creation)).contains("Иванова"));

    // A copy that runs keeps its files, the one it is writing too.
    const QFileInfo written(first->fileOf(RecoveryStore::Creation));
    const QString writing =
        written.dir().filePath(QLatin1Char('.') + written.fileName() + QStringLiteral(".Ab12Cd"));
    writeFile(writing, "[");
    second.claimOrphans();
    QVERIFY(second.offers(RecoveryStore::Creation).isEmpty());
    QVERIFY(QFile::exists(writing));

    // Once it has ended, the next start is offered its list, and only its list.
    first.reset();
    RecoveryStore third(folder());
    third.claimOrphans();
    QCOMPARE(third.offers(RecoveryStore::Creation).size(), 1);
    QCOMPARE(third.offers(RecoveryStore::Creation).first().count, 1);
    QVERIFY(third.offers(RecoveryStore::Creation).first().state.rows.contains("Иванова"));
}

void TestRecovery::deadCopysListIsRestored_data()
{
    QTest::addColumn<int>("page");
    QTest::newRow("creation") << int(PageRecovery::Creation);
    QTest::newRow("editing") << int(PageRecovery::Editing);
}

void TestRecovery::deadCopysListIsRestored()
{
    QFETCH(int, page);
    const auto kind = PageRecovery::Page(page);
    const QString path = dir->filePath(QStringLiteral("список.json"));
    QByteArray lost;
    {
        RecoveryStore store(folder());
        Page list(store, kind);
        QVERIFY(list.model.load(earlierList));
        QVERIFY(list.model.load(laterList));
        if (kind == PageRecovery::Editing)
            list.recovery.markClean(path);
        QVERIFY(list.model.editCell(0, QStringLiteral("name"), QStringLiteral("Сидоров П.")));
        lost = savedBytes(list.model);
    }

    RecoveryStore store(folder());
    store.claimOrphans();
    QCOMPARE(store.offers(RecoveryStore::Page(page)).size(), 1);
    const QString offered = store.offers(RecoveryStore::Page(page)).first().file;
    Page list(store, kind);
    QCOMPARE(list.recovery.offerCount(), 2);
    QVERIFY(list.recovery.offerTime().isValid());
    QByteArray expected = lost;
    if (kind == PageRecovery::Creation) {
        // What was added since the start follows the restored records.
        QVERIFY(list.model.load(QLatin1Char('[') + training + QLatin1Char(']')));
        expected.chop(2);
        expected += ',' + training.toUtf8() + "]\n";
    }

    QVERIFY(list.recovery.restore());
    QCOMPARE(savedBytes(list.model), expected);
    QCOMPARE(list.recovery.listPath(), kind == PageRecovery::Editing ? path : QString());
    QVERIFY(list.recovery.unsaved());
    QVERIFY(!list.recovery.hasOffer());
    store.waitForWrites();
    QVERIFY(!QFile::exists(offered));
    const QByteArray own = contents(store.fileOf(RecoveryStore::Page(page)));
    QCOMPARE(own.mid(own.indexOf('\n') + 1), expected);
}

void TestRecovery::staleLockIsTakenOver()
{
    // The lock of a copy killed in the middle of its work: its own format, a dead process.
    QProcess gone;
    gone.start(QStringLiteral("sleep"), {QStringLiteral("0.1")});
    QVERIFY(gone.waitForStarted());
    const qint64 deadPid = gone.processId();
    QVERIFY(gone.waitForFinished());
    QVERIFY(QDir().mkpath(folder()));
    const QString lockPath = file(QStringLiteral("20240101-000000-000-1.lock"));
    QByteArray lockBytes;
    {
        QLockFile lock(lockPath);
        QVERIFY(lock.tryLock(0));
        lockBytes = contents(lockPath);
    }
    lockBytes.replace(0, lockBytes.indexOf('\n'), QByteArray::number(deadPid));
    writeFile(lockPath, lockBytes);
    RecoveryStore::State state;
    state.rows = ('[' + training + ']').toUtf8();
    const QString left = file(QStringLiteral("20240101-000000-000-1.creation.recovery"));
    writeFile(left, RecoveryStore::encode(RecoveryStore::Creation, state));
    // A write it was killed in.
    const QString halfWritten =
        file(QStringLiteral(".20240101-000000-000-1.editing.recovery.Ab12Cd"));
    writeFile(halfWritten, "[");

    {
        RecoveryStore store(folder());
        store.claimOrphans();
        QCOMPARE(store.offers(RecoveryStore::Creation).size(), 1);
        QCOMPARE(store.offers(RecoveryStore::Creation).first().state.rows, state.rows);
        // Held now by the copy that took it over.
        QLockFile other(lockPath);
        QVERIFY(!other.tryLock(0));
    }
    // Not turned down, so still there for the next start.
    QVERIFY(QFile::exists(left));
    QVERIFY(!QFile::exists(halfWritten));
    QVERIFY(!QFile::exists(lockPath));
}

void TestRecovery::damagedFileIsSetAside_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray header = "{\"format\":1,\"page\":\"creation\"}\n";
    QTest::newRow("not a recovery file") << QByteArray("[]\n");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("header only") << header;
    QTest::newRow("cut short") << header + "[{\"name\":\"Иванова\"\n";
    QTest::newRow("no final line feed") << header + "[]";
    QTest::newRow("not a list") << header + "{\"name\":\"Иванова\"}\n";
    QTest::newRow("an element not a record") << header + "[1]\n";
    QTest::newRow("another page's")
        << QByteArray("{\"format\":1,\"keys\":[],\"page\":\"editing\",\"path\":\"\"}\n[]\n");
    QTest::newRow("a later format") << QByteArray("{\"format\":2,\"page\":\"creation\"}\n[]\n");
}

void TestRecovery::damagedFileIsSetAside()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(QDir().mkpath(folder()));
    const QString damaged = file(QStringLiteral("20240101-000000-000-1.creation.recovery"));
    writeFile(damaged, bytes);

    RecoveryStore store(folder());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("damaged.*kept as")));
    store.claimOrphans();
    QVERIFY(store.offers(RecoveryStore::Creation).isEmpty());
    QVERIFY(!QFile::exists(damaged));
    QVERIFY(QFile::exists(damaged + QLatin1String(".damaged")));
    QCOMPARE(contents(damaged + QLatin1String(".damaged")), bytes);
}

void TestRecovery::failureIsReportedOnce()
{
    // A folder below a plain file can be made by nobody, whatever the user's rights.
    writeFile(dir->filePath(QStringLiteral("plain")), "x");
    RecoveryStore store(dir->filePath(QStringLiteral("plain/recovery")));
    Page list(store, PageRecovery::Creation);
    QSignalSpy failed(&list.recovery, &PageRecovery::writeFailed);
    for (const char *name : {"Петров", "Сидоров", "Орлов"}) {
        list.model.append(ParticipantRules::trainingRecord(
            QStringLiteral("5А"), QString::fromUtf8(name), QStringLiteral("Клуб")));
        list.recovery.flush();
        store.waitForWrites();
        QCoreApplication::processEvents();
    }
    QCOMPARE(failed.count(), 1);
}

// Whatever the mask says: a folder and files of a copy before this one, left with wide modes,
// are narrowed; what this copy makes is private from its first moment.
void TestRecovery::ownFilesArePrivate()
{
    struct NoMask
    {
        const mode_t mask = ::umask(0);
        ~NoMask() { ::umask(mask); }
    } noMask;
    const QString wide = folder();
    QVERIFY(QDir().mkpath(wide));
    QCOMPARE(::chmod(QFile::encodeName(wide).constData(), 0755), 0);
    const QString left = wide + QStringLiteral("/20200101-000000-000-1.creation.recovery");
    writeFile(left, RecoveryStore::encode(RecoveryStore::Creation, {QString(), {}, "[]"}));
    QCOMPARE(::chmod(QFile::encodeName(left).constData(), 0644), 0);
    const QString fresh = dir->filePath(QStringLiteral("new/recovery"));
    {
        RecoveryStore store(wide);
        store.claimOrphans();
        RecoveryStore other(fresh);
        for (RecoveryStore *each : {&store, &other}) {
            Page list(*each, PageRecovery::Editing);
            QVERIFY(list.model.load(earlierList));
            list.recovery.flush();
            each->waitForWrites();
        }
        for (const QString &path : {wide, fresh}) {
            const QFileInfoList files =
                QDir(path).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
            // This copy's lock and list, and the lock it took over with the file it claimed.
            QVERIFY2(files.size() >= 2, qPrintable(path));
            struct stat st = {};
            QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
            QCOMPARE(int(st.st_mode & 07777), 0700);
            for (const QFileInfo &file : files) {
                QCOMPARE(::stat(QFile::encodeName(file.filePath()).constData(), &st), 0);
                QVERIFY2((st.st_mode & 07777) == 0600, qPrintable(file.fileName()));
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestRecovery)
#include "tst_recovery.moc"
