#include "limitedchild.h"
#include "listexporter.h"
#include "participantlistmodel.h"
#include "savetarget.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

// The class comes first: moc reads no further than it needs, and raw strings confuse it.
class TestListExporter : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(dir.isValid()); }

    void xlsxKeepsKindsOfCells();
    void xlsxNumbersAndDates();
    void xlsxCutsTextsBeyondACell_data();
    void xlsxCutsTextsBeyondACell();
    void csvQuotesAndGuards();
    void csvGuardsFormulas();
    void pdfPagesAndHeaders_data();
    void pdfPagesAndHeaders();
    void emptyList_data();
    void emptyList();
    void failedExportKeepsOldFile_data();
    void failedExportKeepsOldFile();
    void suggestedUrl();
    void exportNeverTakesTheList_data();
    void exportNeverTakesTheList();
    void replaceQuestion();

private:
    int save(const QByteArray &list, int format, const QString &path,
             bool newPagePerOrganization = false)
    {
        ParticipantListModel model;
        if (!model.load(QString::fromUtf8(list)))
            return -1;
        const QString before = model.toJson();
        const int result =
            exporter.save(&model, format, QUrl::fromLocalFile(path),
                          QStringLiteral("/списки/Список 5А.json"), newPagePerOrganization);
        // The export changes nothing of the table.
        return model.toJson() == before ? result : -2;
    }

    QTemporaryDir dir;
    ListExporter exporter;
};

namespace {

// GTO and training records as the pages write them, and one from another tool with keys
// and values of every JSON type.
const char *const mixedList = R"([
{"birthDate":"07.03.2000","group":"Школа 5","gtoUuid":"01234567890","isGto":true,
 "name":"Иванова Мария","organization":"Школа 5","sex":"Ж","step":"6.0",
 "pectoralNumber":"007","athleticRank":"КМС"},
{"group":"5А","isGto":false,"name":"=1+2","organization":"Клуб; \"Старт\"","step":6.4,
 "birthDate":"31.02.2000","score":12.5,"paid":true,"tags":["a",1],"coach":{"name":"Петров"},
 "note":null,"big":12345678901234567890},
{"name":"строка 1\nстрока 2","step":"8.1","organization":"Школа 5","score":-3,"note":"@x"}
])";

const char *const header = R"(["№","Имя","Дата Рождения","Группа","Организация","ИД ГТО","Пол",
"Ступень","Нагрудный Номер","Спортивный Разряд","Вид","score","paid","tags","coach","note","big"])";

// Runs a reader and gives its standard output; a reader that fails gives "<failed: ...>".
QByteArray run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return "<failed: " + process.readAllStandardError() + ">";
    return process.readAllStandardOutput();
}

QJsonValue readBack(const QString &format, const QString &path)
{
    const QByteArray out =
        run(QStringLiteral("/usr/bin/python3"), {QStringLiteral(READBACK_SCRIPT), format, path});
    const QJsonDocument document = QJsonDocument::fromJson(out);
    return document.isObject() ? QJsonValue(document.object()) : QJsonValue(QString(out));
}

QJsonArray json(const QByteArray &text)
{
    return QJsonDocument::fromJson(text).array();
}

} // namespace

void TestListExporter::xlsxKeepsKindsOfCells()
{
    const QString path = dir.filePath(QStringLiteral("list.xlsx"));
    QCOMPARE(save(mixedList, ListExporter::Excel, path), int(ListExporter::Ok));
    QJsonObject read = readBack(QStringLiteral("xlsx"), path).toObject();
    QCOMPARE(read.value("sheets").toArray(), QJsonArray{"Участники"});
    QCOMPARE(read.value("frozen").toString(), QStringLiteral("A2"));
    QCOMPARE(read.value("filter").toString(), QStringLiteral("A1:Q4"));
    QCOMPARE(read.value("boldHeader").toBool(), true);
    QCOMPARE(read.value("fitted").toBool(), true);

    QJsonArray rows = read.value("rows").toArray();
    QJsonArray titles;
    for (const QJsonValue &title : json(header))
        titles.append("s:" + title.toString());
    QCOMPARE(rows.at(0).toArray(), titles);
    QCOMPARE(rows.at(1).toArray(), json(R"(["n:1","s:Иванова Мария","d:2000-03-07 dd.mm.yyyy",
        "s:Школа 5","s:Школа 5","s:01234567890","s:Ж","s:6","s:007","s:КМС","s:ГТО",
        null,null,null,null,null,null])"));
    QCOMPARE(rows.at(2).toArray(), json(R"(["n:2","s:=1+2","s:31.02.2000","s:5А",
        "s:Клуб; \"Старт\"",null,null,"n:6",null,null,"s:Тренировка","n:12.5","b:True",
        "s:[\"a\",1]","s:{\"name\":\"Петров\"}",null,"s:12345678901234567890"])"));
    QCOMPARE(rows.at(3).toArray(), json(R"(["n:3","s:строка 1\nстрока 2",null,null,
        "s:Школа 5",null,null,"s:8.1",null,null,null,"n:-3",null,null,null,"s:@x",null])"));
    QCOMPARE(rows.size(), 4);
}

// Only a number a double holds digit for digit is a number cell, and only a real birth
// date from 1900 on is a date cell: date-shaped texts elsewhere stay texts.
void TestListExporter::xlsxNumbersAndDates()
{
    const QString path = dir.filePath(QStringLiteral("kinds.xlsx"));
    QCOMPARE(save(R"([{"birthDate":"01.01.1900","group":"01.09.2015","organization":"1.9.2015",
        "fifteen":123456789012345,"sixteen":1234567890123456,"seventeen":12345678901234567},
        {"birthDate":"31.12.1899","note":"01.09.2015"}])",
                  ListExporter::Excel, path),
             int(ListExporter::Ok));
    const QJsonArray rows = readBack(QStringLiteral("xlsx"), path).toObject()["rows"].toArray();
    QCOMPARE(rows.at(1).toArray(), json(R"(["n:1",null,"d:1900-01-01 dd.mm.yyyy","s:01.09.2015",
        "s:1.9.2015",null,null,null,null,null,null,"n:123456789012345",
        "s:1234567890123456","s:12345678901234567",null])"));
    QCOMPARE(rows.at(2).toArray().at(2).toString(), QStringLiteral("s:31.12.1899"));
    QCOMPARE(rows.at(2).toArray().at(14).toString(), QStringLiteral("s:01.09.2015"));
}

void TestListExporter::xlsxCutsTextsBeyondACell_data()
{
    // A key and its value in the list, the column they land in, and what the sheet shows
    // as that column's title and in the cell.
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("cell");
    const int limit = 32767;
    const QString cyrillic(40000, QChar(0x42F));
    QTest::newRow("a name beyond the limit")
        << "name" << cyrillic << 1 << "Имя" << cyrillic.left(limit);
    QTest::newRow("a name at the limit")
        << "name" << QString(limit, 'b') << 1 << "Имя" << QString(limit, 'b');
    // A character outside the basic plane is two UTF-16 units and is not cut in half.
    QTest::newRow("a pair of surrogates across the limit")
        << "name" << QString(limit - 1, 'a') + QString::fromUtf8("\xF0\x9F\x98\x80") + "b" << 1
        << "Имя" << QString(limit - 1, 'a');
    QTest::newRow("a key beyond the limit")
        << QString(33000, 'k') << "v" << 11 << QString(limit, 'k') << "v";
}

// A value the list holds whole yet a cell cannot: the sheet gets what fits, the export
// does not fail and the list keeps the whole value.
void TestListExporter::xlsxCutsTextsBeyondACell()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(int, column);
    QFETCH(QString, title);
    QFETCH(QString, cell);
    const QByteArray list = QJsonDocument(QJsonArray{QJsonObject{{key, value}}}).toJson();
    const QString path = dir.filePath(QStringLiteral("long.xlsx"));
    QCOMPARE(save(list, ListExporter::Excel, path), int(ListExporter::Ok));
    const QJsonArray rows = readBack(QStringLiteral("xlsx"), path).toObject()["rows"].toArray();
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).toArray().at(column).toString(), "s:" + title);
    QCOMPARE(rows.at(1).toArray().at(column).toString(), "s:" + cell);
}

void TestListExporter::csvQuotesAndGuards()
{
    const QString path = dir.filePath(QStringLiteral("list.csv"));
    QCOMPARE(save(mixedList, ListExporter::Csv, path), int(ListExporter::Ok));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF\xE2\x84\x96;"));
    // Four records end in CR LF; the line break inside a value stays as it was.
    QCOMPARE(bytes.count("\r\n"), 4);
    QCOMPARE(bytes.count('\n'), 5);
    QVERIFY(bytes.endsWith("\r\n"));

    const QJsonArray rows = readBack(QStringLiteral("csv"), path).toObject()["rows"].toArray();
    QCOMPARE(rows.at(0).toArray(), json(header));
    QCOMPARE(rows.at(1).toArray(), json(R"(["1","Иванова Мария","07.03.2000","Школа 5",
        "Школа 5","01234567890","Ж","6","007","КМС","ГТО","","","","","",""])"));
    QCOMPARE(rows.at(2).toArray(), json(R"(["2","'=1+2","31.02.2000","5А","Клуб; \"Старт\"",
        "","","6","","","Тренировка","12.5","true","[\"a\",1]","{\"name\":\"Петров\"}","",
        "12345678901234567890"])"));
    QCOMPARE(rows.at(3).toArray(), json(R"(["3","строка 1\nстрока 2","","","Школа 5","","",
        "8.1","","","","-3","","","","'@x",""])"));
    QCOMPARE(rows.size(), 4);
}

void TestListExporter::csvGuardsFormulas()
{
    // Names as JSON text, and the cells a CSV reader gives for them.
    const QList<QPair<QByteArray, QString>> cases = {
        {"\"=HYPERLINK(\\\"x\\\")\"", "'=HYPERLINK(\"x\")"},
        {"\"+7 900\"", "'+7 900"},
        {"\"-1\"", "'-1"},
        {"\"@SUM(1)\"", "'@SUM(1)"},
        {"\"\\t=1\"", "'\t=1"},
        {"\"\\r=1\"", "'\r=1"},
        {"\"a=1\"", "a=1"},
        {"-1.5", "-1.5"},
        // Not cut at a NUL.
        {"\"a\\u0000b\"", QString::fromUtf8("a\0b", 3)},
    };
    QByteArray list;
    for (const auto &c : cases)
        list += (list.isEmpty() ? "[{\"name\":" : ",{\"name\":") + c.first + "}";
    const QString path = dir.filePath(QStringLiteral("guard.csv"));
    QCOMPARE(save(list + "]", ListExporter::Csv, path), int(ListExporter::Ok));
    const QJsonArray rows = readBack(QStringLiteral("csv"), path).toObject()["rows"].toArray();
    QCOMPARE(rows.size(), cases.size() + 1);
    for (int i = 0; i < cases.size(); ++i)
        QCOMPARE(rows.at(i + 1).toArray().at(1).toString(), cases[i].second);
}

void TestListExporter::pdfPagesAndHeaders_data()
{
    QTest::addColumn<bool>("newPagePerOrganization");
    QTest::newRow("organizations run on") << false;
    QTest::newRow("each organization on a new page") << true;
}

void TestListExporter::pdfPagesAndHeaders()
{
    QFETCH(bool, newPagePerOrganization);
    QByteArray list = "[";
    for (int i = 1; i <= 200; ++i) {
        list += QStringLiteral(R"({"name":"Участник %1 Ёлкин","organization":"Школа %2",)"
                               R"("birthDate":"01.02.2003","step":"5.0","isGto":true},)")
                    .arg(i)
                    .arg(i % 3)
                    .toUtf8();
    }
    list[list.size() - 1] = ']';
    const QString path = dir.filePath(QStringLiteral("list.pdf"));
    QCOMPARE(save(list, ListExporter::Pdf, path, newPagePerOrganization), int(ListExporter::Ok));

    const QByteArray info = run(QStringLiteral("pdfinfo"), {path});
    QVERIFY2(info.contains("842 x 595 pts (A4)"), info);
    const int pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)"))
                          .match(QString::fromUtf8(info))
                          .captured(1)
                          .toInt();
    QVERIFY2(pages > 1, info);
    QVERIFY(run(QStringLiteral("pdffonts"), {path}).contains("DejaVuSans"));

    QStringList texts =
        QString::fromUtf8(run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")}))
            .split(QLatin1Char('\f'));
    texts.removeAll(QString());
    QCOMPARE(texts.size(), pages);
    QVERIFY(texts.at(0).startsWith(QStringLiteral("Список 5А\nДата печати: ") +
                                   QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"))));
    QList<int> seen;
    for (int page = 0; page < pages; ++page) {
        const QString &text = texts.at(page);
        for (const char *title : {"№", "Имя", "Организация", "Ступень", "Спортивный"})
            QVERIFY2(text.contains(QString::fromUtf8(title)), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Стр. %1 из %2").arg(page + 1).arg(pages)));
        auto names = QRegularExpression(QStringLiteral("Участник (\\d+) Ёлкин")).globalMatch(text);
        QSet<QString> organizations;
        while (names.hasNext()) {
            const int i = names.next().captured(1).toInt();
            seen << i;
            organizations << QStringLiteral("Школа %1").arg(i % 3);
        }
        if (newPagePerOrganization)
            QCOMPARE(organizations.size(), 1);
    }
    // Every row once and whole, whichever page it landed on.
    std::sort(seen.begin(), seen.end());
    QList<int> all;
    for (int i = 1; i <= 200; ++i)
        all << i;
    QCOMPARE(seen, all);
}

void TestListExporter::emptyList_data()
{
    QTest::addColumn<int>("format");
    QTest::newRow("xlsx") << int(ListExporter::Excel);
    QTest::newRow("csv") << int(ListExporter::Csv);
    QTest::newRow("pdf") << int(ListExporter::Pdf);
}

void TestListExporter::emptyList()
{
    QFETCH(int, format);
    const QString suffix = ListExporter::suffix(format);
    const QString path = dir.filePath("empty." + suffix);
    QCOMPARE(save("[]", format, path), int(ListExporter::Ok));
    if (format == ListExporter::Pdf) {
        const QByteArray text = run(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
        QVERIFY2(text.contains("Список пуст") && text.contains("Стр. 1 из 1"), text);
        return;
    }
    // The header alone, without the columns of keys the list does not have.
    const QJsonArray rows = readBack(suffix, path).toObject()["rows"].toArray();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.at(0).toArray().size(), 11);
}

void TestListExporter::failedExportKeepsOldFile_data()
{
    emptyList_data();
}

// The export runs in a child process under a 100-byte file size limit, so writing fails
// for real without touching anything outside the temporary folder.
void TestListExporter::failedExportKeepsOldFile()
{
    QFETCH(int, format);
    const QString path = dir.filePath(QStringLiteral("kept"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();

    const int status = LimitedChild::run(100, [&] {
        // The spreadsheet library reports the failure caused here on standard error.
        if (!std::freopen("/dev/null", "w", stderr))
            return 100;
        return save(mixedList, format, path);
    });
    QVERIFY2(status > 0 && status < 100, QByteArray::number(status));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old"));

    QCOMPARE(save(mixedList, format, dir.filePath("missing/list")), int(ListExporter::CannotOpen));

    // Nor does an export take the place of its own list, by any of the list's names.
    ParticipantListModel model;
    QVERIFY(model.load(QString::fromUtf8(mixedList)));
    const QString link = dir.filePath(QStringLiteral("link%1").arg(format));
    QVERIFY(QFile::link(path, link));
    QCOMPARE(exporter.save(&model, format, QUrl::fromLocalFile(link), path),
             int(ListExporter::IsListFile));
    old.close();
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old"));
}

void TestListExporter::suggestedUrl()
{
    // The list, the format, the suggested file; a chosen file and the one written.
    const struct
    {
        QString list;
        int format;
        QString suggested, chosen, written;
    } cases[] = {
        {"/a/Список 5А.json", ListExporter::Excel, "/a/Список 5А.xlsx", "/b/x", "/b/x.xlsx"},
        {"/a.b/list.old.json", ListExporter::Csv, "/a.b/list.old.csv", "/b/x.txt", "/b/x.txt"},
        {"/a/list", ListExporter::Pdf, "/a/list.pdf", "/b.c/x", "/b.c/x.pdf"},
        {"", ListExporter::Pdf, QDir::homePath() + "/Список.pdf", "/b/x.PDF", "/b/x.PDF"},
    };
    for (const auto &c : cases) {
        QCOMPARE(ListExporter::suggestedUrl(c.list, c.format), QUrl::fromLocalFile(c.suggested));
        QCOMPARE(ListExporter::withSuffix(QUrl::fromLocalFile(c.chosen), c.format),
                 QUrl::fromLocalFile(c.written));
    }
}

void TestListExporter::exportNeverTakesTheList_data()
{
    QTest::addColumn<QString>("how");
    for (const char *how :
         {"path", "hard link", "symbolic link", "dot-dot path", "bind mount", "path field changed"})
        QTest::newRow(how) << QString::fromLatin1(how);
}

// The list by another name of its own is still the list: the export writes nothing, and
// the refusal names the cause.
void TestListExporter::exportNeverTakesTheList()
{
    QFETCH(QString, how);
    QTemporaryDir scratch;
    const QDir folder(scratch.path());
    QVERIFY(folder.mkpath(QStringLiteral("lists/sub")) && folder.mkpath(QStringLiteral("mounted")));
    const QString list = folder.filePath(QStringLiteral("lists/list.json"));
    const QByteArray bytes = QByteArray(mixedList).replace('\n', ' ') + '\n';
    QFile file(list);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();

    QString target = list;
    if (how == QLatin1String("hard link")) {
        target = folder.filePath(QStringLiteral("hard.csv"));
        QCOMPARE(::link(QFile::encodeName(list).constData(), QFile::encodeName(target).constData()),
                 0);
    } else if (how == QLatin1String("symbolic link")) {
        target = folder.filePath(QStringLiteral("soft.csv"));
        QVERIFY(QFile::link(list, target));
    } else if (how == QLatin1String("dot-dot path")) {
        target = folder.filePath(QStringLiteral("lists/sub/../list.json"));
    } else if (how == QLatin1String("bind mount")) {
        if (::geteuid() != 0)
            QSKIP("a bind mount needs root");
        const QString mounted = folder.filePath(QStringLiteral("mounted"));
        if (QProcess::execute(
                QStringLiteral("mount"),
                {QStringLiteral("--bind"), folder.filePath(QStringLiteral("lists")), mounted}) != 0)
            QSKIP("no bind mount here");
        target = mounted + QStringLiteral("/list.json");
    }
    ParticipantListModel model;
    QVERIFY(model.load(QStringLiteral("[{\"name\":\"Другой\"}]")));
    // A path field that names another file since the load still leaves the loaded one alone.
    const bool changed = how == QLatin1String("path field changed");
    const int result = exporter.save(&model, ListExporter::Csv, QUrl::fromLocalFile(target),
                                     changed ? folder.filePath(QStringLiteral("other.json")) : list,
                                     false, changed ? list : QString());
    // The same check once more where the write happens, for a name that became the list's
    // after the first look.
    SafeSave::Options options;
    options.keep = {FileId::of(list)};
    const int late = SafeSave::write(target, "csv", options);
    if (how == QLatin1String("bind mount"))
        QProcess::execute(QStringLiteral("umount"), {folder.filePath(QStringLiteral("mounted"))});
    QCOMPARE(result, int(ListExporter::IsListFile));
    QCOMPARE(late, int(SafeSave::Refused));
    QCOMPARE(ListExporter::failureText(result), QStringLiteral("Это файл самого списка"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
}

// Asked for files only, once, and with the count of a participant list's records.
void TestListExporter::replaceQuestion()
{
    const QString list = dir.filePath(QStringLiteral("list.json"));
    const QString text = dir.filePath(QStringLiteral("notes.json"));
    for (const auto &file : {qMakePair(list, QByteArray("[{\"a\":1},{},{}]\n")),
                             qMakePair(text, QByteArray("[{\"a\":1},2]"))}) {
        QFile out(file.first);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file.second) > 0);
    }
    SaveTarget target;
    QCOMPARE(target.question(QUrl::fromLocalFile(list).toString()),
             QStringLiteral("Файл «list.json» уже существует. Заменить его?\n"
                            "Это список участников: 3 записи."));
    QCOMPARE(target.question(text),
             QStringLiteral("Файл «notes.json» уже существует. Заменить его?"));
    QCOMPARE(target.question(dir.filePath(QStringLiteral("missing.csv"))), QString());
    QCOMPARE(target.question(dir.path()), QString());
    QCOMPARE(target.question(list, {dir.filePath(QStringLiteral("./list.json"))}), QString());
    target.written(list);
    QCOMPARE(target.question(list), QString());
    QVERIFY(!target.question(text).isEmpty());
}

QTEST_MAIN(TestListExporter)
#include "tst_listexporter.moc"
