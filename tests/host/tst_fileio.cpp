#include "fileio.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "limitedchild.h"

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return file.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

} // namespace

class TestFileIO : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(dir.isValid()); }

    void save_writesUtf8AndOneLineFeed_data();
    void save_writesUtf8AndOneLineFeed();
    void save_replacesLongerFile();
    void save_unopenablePathGivesTwo_data();
    void save_unopenablePathGivesTwo();
    void save_failedWriteKeepsOldContent_data();
    void save_failedWriteKeepsOldContent();
    void readAll_data();
    void readAll();
    void readAll_unreadableGivesEmpty_data();
    void readAll_unreadableGivesEmpty();
    void roundTrip();

private:
    QString pathOf(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

void TestFileIO::save_writesUtf8AndOneLineFeed_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QString() << QByteArray("\n");
    QTest::newRow("ascii") << QStringLiteral("[]") << QByteArray("[]\n");
    QTest::newRow("cyrillic without BOM")
        << QStringLiteral("Пол Ж") << QByteArray("\xD0\x9F\xD0\xBE\xD0\xBB \xD0\x96\n");
    QTest::newRow("line feeds stay single") << QStringLiteral("a\nb\n") << QByteArray("a\nb\n\n");
    QTest::newRow("carriage return kept as is")
        << QStringLiteral("a\r\nb") << QByteArray("a\r\nb\n");
}

void TestFileIO::save_writesUtf8AndOneLineFeed()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    FileIO io;
    const QString path = pathOf(QStringLiteral("list.json"));
    QCOMPARE(io.save(path, text), FileIO::SaveOk);
    QCOMPARE(bytesOf(path), bytes);
}

void TestFileIO::save_replacesLongerFile()
{
    const QString path = pathOf(QStringLiteral("long.json"));
    writeBytes(path, QByteArray(5000, 'x'));
    FileIO io;
    QCOMPARE(io.save(path, QStringLiteral("[1]")), FileIO::SaveOk);
    QCOMPARE(bytesOf(path), QByteArray("[1]\n"));
}

void TestFileIO::save_unopenablePathGivesTwo_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("empty") << QString();
    QTest::newRow("missing folder") << pathOf(QStringLiteral("no/such/folder/list.json"));
    QTest::newRow("folder") << dir.path();
    QTest::newRow("resource") << QStringLiteral(":/qml/main.qml");
    QTest::newRow("new resource") << QStringLiteral(":/new.json");
}

void TestFileIO::save_unopenablePathGivesTwo()
{
    QFETCH(QString, path);
    const QStringList before =
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    FileIO io;
    QCOMPARE(io.save(path, QStringLiteral("[]")), FileIO::SaveCannotOpen);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             before);
    QVERIFY(QFileInfo(dir.path()).isDir());
}

void TestFileIO::save_failedWriteKeepsOldContent_data()
{
    // The small text fails only in the final flush, the large one already in write().
    QTest::addColumn<int>("size");
    QTest::newRow("fails on flush") << 150;
    QTest::newRow("fails on write") << 200000;
}

// The save runs in a child process under a 100-byte file size limit, so the write
// fails for real without touching anything outside the temporary folder.
void TestFileIO::save_failedWriteKeepsOldContent()
{
    QFETCH(int, size);
    const QString path = pathOf(QStringLiteral("kept.json"));
    const QByteArray old("[{\"name\":\"Old\"}]\n");
    writeBytes(path, old);
    const QStringList files = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);

    const QString text(size, QLatin1Char('n'));
    QCOMPARE(LimitedChild::run(100,
                               [&] {
                                   FileIO io;
                                   return io.save(path, text);
                               }),
             FileIO::SaveWriteFailed);
    QCOMPARE(bytesOf(path), old);
    // No temporary file is left behind either.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), files);
}

void TestFileIO::readAll_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << QByteArray("[]\n") << QStringLiteral("[]\n");
    QTest::newRow("cyrillic") << QByteArray("\xD0\x96") << QStringLiteral("Ж");
    QTest::newRow("BOM dropped") << QByteArray("\xEF\xBB\xBF[1]") << QStringLiteral("[1]");
    QTest::newRow("cut at NUL") << QByteArray("ab\0cd", 5) << QStringLiteral("ab");
    QTest::newRow("CR LF kept") << QByteArray("a\r\nb") << QStringLiteral("a\r\nb");
}

void TestFileIO::readAll()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const QString path = pathOf(QStringLiteral("read.json"));
    writeBytes(path, bytes);
    FileIO io;
    QCOMPARE(io.readAll(path), text);
}

void TestFileIO::readAll_unreadableGivesEmpty_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("empty path") << QString();
    QTest::newRow("missing file") << pathOf(QStringLiteral("missing.json"));
    QTest::newRow("folder") << dir.path();
    QTest::newRow("missing resource") << QStringLiteral(":/missing.json");
}

void TestFileIO::readAll_unreadableGivesEmpty()
{
    QFETCH(QString, path);
    FileIO io;
    QVERIFY(io.readAll(path).isEmpty());
}

void TestFileIO::roundTrip()
{
    FileIO io;
    const QString path = pathOf(QStringLiteral("ru.json"));
    const QString text = QStringLiteral("[{\"name\":\"Иванова Мария\",\"sex\":\"Ж\"}]");
    QCOMPARE(io.save(path, text), FileIO::SaveOk);
    QVERIFY(!bytesOf(path).startsWith("\xEF\xBB\xBF"));
    QCOMPARE(io.readAll(path), text + QLatin1Char('\n'));

    const QString main = io.readAll(QStringLiteral(":/qml/main.qml"));
    QVERIFY(main.contains(QStringLiteral("ApplicationWindow")));
}

QTEST_GUILESS_MAIN(TestFileIO)
#include "tst_fileio.moc"
