#include "storage/safesave.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "limitedchild.h"

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

constexpr uid_t root = 0;
constexpr uid_t nobody = 65534;

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

struct Owner
{
    uid_t uid;
    gid_t gid;
    mode_t mode;
    nlink_t links;
    bool operator==(const Owner &o) const
    {
        return uid == o.uid && gid == o.gid && mode == o.mode && links == o.links;
    }
};

Owner ownerOf(const QString &path)
{
    struct stat st = {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return {st.st_uid, st.st_gid, mode_t(st.st_mode & 07777), st.st_nlink};
}

} // namespace

namespace QTest {
template <> char *toString(const Owner &o)
{
    return qstrdup(QString::asprintf("uid %u gid %u mode %o links %u", unsigned(o.uid),
                                     unsigned(o.gid), unsigned(o.mode), unsigned(o.links))
                       .toUtf8()
                       .constData());
}
} // namespace QTest

class TestSafeSave : public QObject
{
    Q_OBJECT

private slots:
    void saveKeepsWhatIsNotOurs_data();
    void saveKeepsWhatIsNotOurs() { checkSave(true); }
    void saveWithoutReservation_data() { saveKeepsWhatIsNotOurs_data(); }
    void saveWithoutReservation() { checkSave(false); }
    void saveThroughDanglingLink_data();
    void saveThroughDanglingLink();
    void newFileTakesTheMask_data();
    void newFileTakesTheMask();
    void saveKeepsExtendedAttributes();

private:
    void checkSave(bool reservable);
};

void TestSafeSave::saveKeepsWhatIsNotOurs_data()
{
    QTest::addColumn<uint>("folderMode");
    QTest::addColumn<uint>("fileOwner");
    QTest::addColumn<uint>("fileMode");
    QTest::addColumn<uint>("saver");
    // A file size limit that the new text overruns, as a full disk would; 0 for none.
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("newSize");
    QTest::addColumn<bool>("hardLink");
    QTest::addColumn<bool>("symlink");
    QTest::addColumn<int>("result");

    QTest::newRow("own file") << 0755u << root << 0640u << root << 0 << 300 << false << false << 0;
    QTest::newRow("own file, disk full")
        << 0755u << root << 0640u << root << 100 << 200000 << false << false << 3;
    QTest::newRow("folder not writable, disk full in the write")
        << 0755u << nobody << 0644u << nobody << 100 << 200000 << false << false << 3;
    QTest::newRow("folder not writable, disk full in the flush")
        << 0755u << nobody << 0644u << nobody << 100 << 150 << false << false << 3;
    QTest::newRow("folder not writable")
        << 0755u << nobody << 0644u << nobody << 0 << 300 << false << false << 0;
    QTest::newRow("write-only file, disk full")
        << 0755u << nobody << 0200u << nobody << 100 << 200000 << false << false << 3;
    QTest::newRow("user's private file saved by root")
        << 0755u << nobody << 0600u << root << 0 << 300 << false << false << 0;
    QTest::newRow("user's private file saved by root, disk full")
        << 0755u << nobody << 0600u << root << 100 << 5000 << false << false << 3;
    QTest::newRow("hard link") << 0755u << root << 0644u << root << 0 << 300 << true << false << 0;
    QTest::newRow("another user's file in a shared sticky folder")
        << 01777u << root << 0666u << nobody << 0 << 300 << false << false << 0;
    QTest::newRow("shared sticky folder, disk full")
        << 01777u << root << 0666u << nobody << 100 << 200000 << false << false << 3;
    QTest::newRow("symlink") << 0755u << root << 0644u << root << 0 << 300 << false << true << 0;
    QTest::newRow("another user's read-only file in a writable folder")
        << 0777u << root << 0644u << nobody << 0 << 300 << false << false << 2;
}

// The save runs in a child that takes the saver's identity and limit, so that every
// failure is a real one, confined to a temporary folder. Where no space can be reserved,
// a write over the limit fails in the write itself, and the old bytes must come back.
void TestSafeSave::checkSave(bool reservable)
{
    QFETCH(uint, folderMode);
    QFETCH(uint, fileOwner);
    QFETCH(uint, fileMode);
    QFETCH(uint, saver);
    QFETCH(int, limit);
    QFETCH(int, newSize);
    QFETCH(bool, hardLink);
    QFETCH(bool, symlink);
    QFETCH(int, result);
    if (geteuid() != root)
        QSKIP("needs root to set owners and to act as another user");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 0711), 0);
    const QString folder = dir.filePath(QStringLiteral("folder"));
    const QString path = folder + QStringLiteral("/list.json");
    const QString other = dir.filePath(QStringLiteral("other.json"));
    const QString link = dir.filePath(QStringLiteral("link.json"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));

    const QByteArray old("[{\"name\":\"Old\"}]\n");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(old), qint64(old.size()));
    file.close();
    QCOMPARE(::chown(QFile::encodeName(path).constData(), fileOwner, fileOwner), 0);
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), fileMode), 0);
    QCOMPARE(::chmod(QFile::encodeName(folder).constData(), folderMode), 0);
    if (hardLink)
        QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(other).constData()),
                 0);
    if (symlink)
        QVERIFY(QFile::link(path, link));
    const Owner before = ownerOf(path);
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    const QByteArray text(newSize, 'n');

    const QString target = symlink ? link : path;
    const QByteArray targetName = QFile::encodeName(target);
    const QByteArray size = QByteArray::number(newSize);
    // Copies beside the list, as another user may not reach the build folder (a checkout
    // under a private home).
    const QByteArray probe = QFile::encodeName(dir.filePath(QStringLiteral("save_probe")));
    const QByteArray shim = QFile::encodeName(dir.filePath(QStringLiteral("save_shim.so")));
    if (!reservable) {
        QVERIFY(QFile::copy(QStringLiteral(SAVE_PROBE), QFile::decodeName(probe)));
        QVERIFY(QFile::copy(QStringLiteral(SAVE_SHIM), QFile::decodeName(shim)));
        QCOMPARE(::chmod(probe.constData(), 0755), 0);
        QCOMPARE(::chmod(shim.constData(), 0755), 0);
    }
    const auto save = [&] {
        if (reservable)
            return int(SafeSave::write(target, text));
        ::setenv("LD_PRELOAD", shim.constData(), 1);
        ::execl(probe.constData(), probe.constData(), targetName.constData(), size.constData(),
                nullptr);
        return 127;
    };
    QCOMPARE(LimitedChild::run(limit, save, saver == root ? LimitedChild::sameUser : saver),
             result);

    QCOMPARE(bytesOf(path), result == 0 ? text : old);
    QCOMPARE(ownerOf(path), before);
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             entries);
    if (hardLink)
        QCOMPARE(bytesOf(other), bytesOf(path));
    if (symlink)
        QVERIFY(QFileInfo(link).isSymLink());
}

void TestSafeSave::saveThroughDanglingLink_data()
{
    QTest::addColumn<bool>("relative");
    QTest::addColumn<uint>("folderMode");
    QTest::addColumn<uint>("saver");
    QTest::addColumn<int>("limit");
    QTest::addColumn<int>("result");

    QTest::newRow("absolute link") << false << 0755u << root << 0 << 0;
    QTest::newRow("relative link") << true << 0755u << root << 0 << 0;
    QTest::newRow("absolute link, disk full") << false << 0755u << root << 100 << 3;
    QTest::newRow("relative link, disk full") << true << 0755u << root << 100 << 3;
    QTest::newRow("link into a shared sticky folder") << false << 01777u << nobody << 0 << 0;
    QTest::newRow("link into a shared sticky folder, disk full")
        << false << 01777u << nobody << 100 << 3;
    QTest::newRow("link into a folder not writable") << true << 0755u << nobody << 0 << 2;
}

// A link to a file yet to be made, in a folder the saver may not write, to a folder that
// may be writable: the link stays as it was, and the file is made whole or not at all.
void TestSafeSave::saveThroughDanglingLink()
{
    QFETCH(bool, relative);
    QFETCH(uint, folderMode);
    QFETCH(uint, saver);
    QFETCH(int, limit);
    QFETCH(int, result);
    if (geteuid() != root)
        QSKIP("needs root to act as another user");

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 0711), 0);
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    const QString folder = dir.filePath(QStringLiteral("folder"));
    QCOMPARE(::chmod(QFile::encodeName(folder).constData(), folderMode), 0);
    const QString target = folder + QStringLiteral("/list.json");
    const QByteArray pointsTo =
        QFile::encodeName(relative ? QStringLiteral("folder/list.json") : target);
    const QString link = dir.filePath(QStringLiteral("link.json"));
    QCOMPARE(::symlink(pointsTo.constData(), QFile::encodeName(link).constData()), 0);
    const QByteArray text(200000, 'n');

    QCOMPARE(LimitedChild::run(
                 limit,
                 [&] {
                     ::umask(022);
                     return int(SafeSave::write(link, text));
                 },
                 saver == root ? LimitedChild::sameUser : saver),
             result);

    char held[4096] = {};
    QCOMPARE(::readlink(QFile::encodeName(link).constData(), held, sizeof(held) - 1),
             ssize_t(pointsTo.size()));
    QCOMPARE(QByteArray(held), pointsTo);
    const QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    if (result != 0) {
        QCOMPARE(entries, QStringList());
        return;
    }
    QCOMPARE(entries, QStringList{QStringLiteral("list.json")});
    QCOMPARE(bytesOf(target), text);
    QCOMPARE(ownerOf(target), (Owner{saver, saver, 0644, 1}));
}

void TestSafeSave::newFileTakesTheMask_data()
{
    QTest::addColumn<uint>("mask");
    QTest::addColumn<bool>("withoutProc");
    QTest::newRow("022") << 022u << false;
    QTest::newRow("027") << 027u << false;
    QTest::newRow("077") << 077u << false;
    QTest::newRow("none") << 0u << false;
    QTest::newRow("027, no /proc") << 027u << true;
}

// A new file gets the mode open() would give it, and the save reads the mask without
// changing it: the probe's shim ends the process at any call of umask().
void TestSafeSave::newFileTakesTheMask()
{
    QFETCH(uint, mask);
    QFETCH(bool, withoutProc);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("new.json"));
    const QByteArray name = QFile::encodeName(path);

    constexpr int noNamespace = 99;
    const int status = LimitedChild::run(0, [&] {
        // A mount namespace of the child's own, whose /proc is an empty folder.
        if (withoutProc && (::unshare(CLONE_NEWNS) != 0 ||
                            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                            ::mount("none", "/proc", "tmpfs", 0, nullptr) != 0))
            return noNamespace;
        ::umask(mask);
        ::setenv("LD_PRELOAD", SAVE_SHIM, 1);
        ::execl(SAVE_PROBE, SAVE_PROBE, name.constData(), "300", nullptr);
        return 127;
    });
    if (status == noNamespace)
        QSKIP("no mount namespace of our own");
    QCOMPARE(status, 0);
    QCOMPARE(bytesOf(path), QByteArray(300, 'n'));
    QCOMPARE(ownerOf(path).mode, mode_t(0666 & ~mask));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("new.json")});
}

// Attributes, access lists among them, stay with the file: a file made beside it would
// not have them.
void TestSafeSave::saveKeepsExtendedAttributes()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("list.json"));
    const QByteArray name = QFile::encodeName(path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    if (::setxattr(name.constData(), "user.tag", "kept", 4, 0) != 0)
        QSKIP("no user attributes on this file system");
    QCOMPARE(SafeSave::write(path, "[]\n"), SafeSave::Ok);
    QCOMPARE(bytesOf(path), QByteArray("[]\n"));
    char value[8] = {};
    QCOMPARE(::getxattr(name.constData(), "user.tag", value, sizeof(value)), ssize_t(4));
    QCOMPARE(QByteArray(value), QByteArray("kept"));
}

QTEST_GUILESS_MAIN(TestSafeSave)
#include "tst_safesave.moc"
