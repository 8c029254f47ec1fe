#include "participantlistmodel.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

// Lists opened from files, as the editing page opens them.
class TestListFile : public QObject
{
    Q_OBJECT

private slots:
    void loadFileSaysWhy_data();
    void loadFileSaysWhy();
    void pathsThatAreNoFile_data();
    void pathsThatAreNoFile();
};

void TestListFile::loadFileSaysWhy_data()
{
    QTest::addColumn<QByteArray>("bytes");
    // Empty when the file is a list.
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QByteArray>("written");

    const auto fails = [](const char *tag, const QByteArray &bytes, const char *reason) {
        QTest::newRow(tag) << bytes << QString::fromUtf8(reason) << QByteArray();
    };
    fails("empty", "", "Файл пуст");
    fails("white space", " \r\n\t\n", "Файл пуст");
    fails("byte order mark only", "\xEF\xBB\xBF", "Файл пуст");
    fails("NUL first", QByteArray("\0[]", 3), "Файл пуст");
    // [{"name":"Иванов"}] in Windows-1251.
    fails("Windows-1251", "[{\"name\":\"\xC8\xE2\xE0\xED\xEE\xE2\"}]",
          "Файл не в кодировке UTF-8: строка 1, позиция 11");
    fails("bad byte on line 3, after Cyrillic", "[\n{\"a\":\"ж\",\n\"жж\":\"x\xFFy\"}]",
          "Файл не в кодировке UTF-8: строка 3, позиция 8");
    fails("overlong form", "[\"\xC0\xAF\"]", "Файл не в кодировке UTF-8: строка 1, позиция 3");
    fails("surrogate in UTF-8", "[\"\xED\xA0\x80\"]",
          "Файл не в кодировке UTF-8: строка 1, позиция 3");
    fails("beyond U+10FFFF", "[\"\xF4\x90\x80\x80\"]",
          "Файл не в кодировке UTF-8: строка 1, позиция 3");
    fails("sequence cut by the end", "[]\xE2\x82",
          "Файл не в кодировке UTF-8: строка 1, позиция 3");
    fails("bad byte outside strings", "[\xD0]", "Файл не в кодировке UTF-8: строка 1, позиция 2");
    fails("syntax error on line 3", "[\n{\"a\":1},\n{\"имя\":\"Ж\", \"b\" 2}]",
          "Это не список JSON: строка 3, позиция 17");
    fails("cut short", "[{\"a\":1}", "Это не список JSON: строка 1, позиция 9");
    fails("NUL inside the list", QByteArray("[{\"a\":1}\0]", 10),
          "Это не список JSON: строка 1, позиция 9");
    fails("raw line feed in a string", "[\"a\nb\"]", "Это не список JSON: строка 1, позиция 4");
    fails("object", "{\"name\":\"a\"}", "В файле не список, а объект JSON");
    fails("number", "17\n", "В файле не список, а число");
    fails("string", "\"[]\"", "В файле не список, а строка");
    fails("boolean", "true", "В файле не список, а логическое значение");
    fails("null", "null", "В файле не список, а null");
    fails("number beyond double", "[{\"a\":1},\n{\"a\":-1e400}]",
          "Слишком большое число -1e400: строка 2, позиция 6");
    fails("long number beyond double", "[" + QByteArray(400, '9') + ".5]",
          "Слишком большое число 99999999999999999999…: строка 1, позиция 2");
    fails("lone high surrogate", "[{\"a\":\"x\\ud800\"}]",
          "Непарный суррогат в строке: строка 1, позиция 15");
    fails("UTF-16", QByteArray("\xFF\xFE[\0]\0", 6), "Файл не в кодировке UTF-8, а в UTF-16");
    fails("lone low surrogate", "[\"\\udc00\"]", "Непарный суррогат в строке: строка 1, позиция 8");
    // A repeated key would lose one of its values: the record, the key and its line.
    fails("repeated key", "[{\"name\":\"a\"},{\"name\":\"b\"},{\"name\":\"c\",\"name\":\"d\"}]",
          "В записи 3 ключ «name» повторяется, строка 1");
    fails("repeated key after skipped elements, lines apart",
          "[1,\n{\"a\":1,\n \"b\":{\"a\":2,\"a\":3},\n \"Ж\":1,\n \"Ж\":2}]",
          "В записи 2 ключ «Ж» повторяется, строка 5");
    // Kept as written inside a value, so nothing is lost there.
    QTest::newRow("repeated key inside a value")
        << QByteArray("[{\"o\":{\"k\":1,\"k\":2}}]") << QString()
        << QByteArray("[{\"o\":{\"k\":1,\"k\":2}}]");

    QTest::newRow("byte order mark")
        << QByteArray("\xEF\xBB\xBF[{\"a\":\"ж\"}]") << QString() << QByteArray("[{\"a\":\"ж\"}]");
    QTest::newRow("list ends at a NUL")
        << QByteArray("[{\"a\":1}]\n\0[\xFF", 13) << QString() << QByteArray("[{\"a\":1}]");
    QTest::newRow("four-byte characters")
        << QByteArray("[{\"a\":\"\xF0\x9F\x98\x80\"}]") << QString()
        << QByteArray("[{\"a\":\"\xF0\x9F\x98\x80\"}]");
}

void TestListFile::loadFileSaysWhy()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QFETCH(QByteArray, written);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("list.json"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
    file.close();

    ParticipantListModel model;
    const QString before = QStringLiteral("[{\"name\":\"Иванова\"}]");
    QVERIFY(model.load(before));
    QSignalSpy changed(&model, &ParticipantListModel::loadErrorChanged);
    QCOMPARE(model.loadFile(path), reason.isEmpty());
    QCOMPARE(model.loadError(), reason);
    QCOMPARE(changed.size(), reason.isEmpty() ? 0 : 1);
    QCOMPARE(model.toJson().toUtf8(), reason.isEmpty() ? written : before.toUtf8());
    if (reason.isEmpty())
        return;

    // A load that works clears the reason.
    QVERIFY(model.load(before));
    QCOMPARE(model.loadError(), QString());
    QCOMPARE(changed.size(), 2);
}

void TestListFile::pathsThatAreNoFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("empty path") << QString() << QStringLiteral("Не указан путь к файлу");
    QTest::newRow("missing file") << QStringLiteral("missing.json")
                                  << QStringLiteral("Файл не найден");
    QTest::newRow("missing folder")
        << QStringLiteral("no/list.json") << QStringLiteral("Файл не найден");
    QTest::newRow("folder") << QStringLiteral(".") << QStringLiteral("Это папка, а не файл");
    QTest::newRow("pipe") << QStringLiteral("pipe") << QStringLiteral("Это не обычный файл");
}

void TestListFile::pathsThatAreNoFile()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    if (name == QLatin1String("pipe"))
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(name)).constData(), 0600), 0);
    ParticipantListModel model;
    QVERIFY(!model.loadFile(name.isEmpty() ? name : dir.filePath(name)));
    QCOMPARE(model.loadError(), reason);
}

QTEST_GUILESS_MAIN(TestListFile)
#include "tst_listfile.moc"
